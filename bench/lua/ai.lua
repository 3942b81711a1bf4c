-- (f) AI-like work: 100 fighters in a table of records, 1000 rounds (as script/ai.pas)
local count, rounds = 100, 1000
local u = {}
local seed = 42
for i = 1, count do
  seed = (seed * 75 + 74) % 65537
  local x = (seed % 640) + 0.0
  seed = (seed * 75 + 74) % 65537
  local y = (seed % 480) + 0.0
  u[i] = { X = x, Y = y, Health = 100,
           Team = (i % 2 == 0) and "Red" or "Blue",
           Kind = (i % 3 == 0) and "Archer" or "Knight" }
end
local s, h = 0, 0
for r = 1, rounds do
  for i = 1, count do
    if u[i].Team == "Red" then
      local best = 1000000.0
      local k = i
      for j = 1, count do
        if u[j].Team ~= u[i].Team then
          local dx = u[j].X - u[i].X
          local dy = u[j].Y - u[i].Y
          local d = dx * dx + dy * dy
          if d < best then
            best = d
            k = j
          end
        end
      end
      u[i].X = u[i].X + (u[k].X - u[i].X) * 0.01
      u[i].Y = u[i].Y + (u[k].Y - u[i].Y) * 0.01
      if u[k].Kind == "Archer" then h = h + 1 end
      s = (s * 31 + k) % 1000003
    else
      u[i].Y = u[i].Y + 0.25
      if u[i].Y > 480.0 then u[i].Y = u[i].Y - 480.0 end
    end
  end
end
print((s * 7 + h) % 1000003)
