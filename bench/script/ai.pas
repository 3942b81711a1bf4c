// (f) AI-like work: 100 fighters in a record array, 1000 rounds. Every Red fighter finds the
// nearest fighter of another team (Float distances, team names compared as strings), steps
// towards it and adds the target to an order-sensitive checksum; Blue fighters drift.
type
  TUnit = record
    X, Y: Float;
    Health: Integer;
    Team: String;
    Kind: String;
  end;

const
  Count = 100;
  Rounds = 1000;

var
  u: array[1..Count] of TUnit;
  seed, r, i, j, k, s, h: Integer;
  dx, dy, d, best: Float;

begin
  seed := 42;
  for i := 1 to Count do
  begin
    seed := (seed * 75 + 74) mod 65537;
    u[i].X := seed mod 640;
    seed := (seed * 75 + 74) mod 65537;
    u[i].Y := seed mod 480;
    u[i].Health := 100;
    if i mod 2 = 0 then
      u[i].Team := 'Red'
    else
      u[i].Team := 'Blue';
    if i mod 3 = 0 then
      u[i].Kind := 'Archer'
    else
      u[i].Kind := 'Knight';
  end;
  s := 0;
  h := 0;
  for r := 1 to Rounds do
    for i := 1 to Count do
      if u[i].Team = 'Red' then
      begin
        best := 1000000.0;
        k := i;
        for j := 1 to Count do
          if u[j].Team <> u[i].Team then
          begin
            dx := u[j].X - u[i].X;
            dy := u[j].Y - u[i].Y;
            d := dx * dx + dy * dy;
            if d < best then
            begin
              best := d;
              k := j;
            end;
          end;
        u[i].X := u[i].X + (u[k].X - u[i].X) * 0.01;
        u[i].Y := u[i].Y + (u[k].Y - u[i].Y) * 0.01;
        if u[k].Kind = 'Archer' then
          h := h + 1;
        s := (s * 31 + k) mod 1000003;
      end
      else
      begin
        u[i].Y := u[i].Y + 0.25;
        if u[i].Y > 480.0 then
          u[i].Y := u[i].Y - 480.0;
      end;
  PrintLn((s * 7 + h) mod 1000003);
end.
