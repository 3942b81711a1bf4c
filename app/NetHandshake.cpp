// The start of a networked match: the two Choose Player messages and the check that both
// machines play with the same files. The client announces its character with a checksum of
// its files; the server checks it and, when the client checks files too, offers its match
// (its character, the whole map path, checksums of both) and starts when the client takes
// it. A side that lacks the other's map or character, or holds a different one, refuses, and
// both setup screens say so. A peer that sends no check is answered as it expects: its map
// and character must be here, and its match starts at once.
#include "app/GameUnit.h"
#include "app/NetPlayChecks.h"
#include "media/BriskLogger.h"
#include "net/NetworkUnit.h"
#include "platform/Clock.h"
#include "platform/FileChecksum.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "world/Map.h"
#include "world/MapFiles.h"

#include <string>
#include <vector>

namespace {

constexpr int32_t kNetServer = 1;
constexpr int32_t kNetClient = 2;

// What this machine holds of a set of files: whether the first (the map or character file
// itself) is there, and one checksum over all of them.
struct TFileCheck {
    bool Present = false;
    uint32_t Checksum = 0;
};

TFileCheck CheckFiles(const std::vector<std::string>& files) {
    TChecksum sum;
    TFileCheck check;
    for (size_t i = 0; i < files.size(); ++i) {
        const bool read = sum.AddFile(files[i]);
        if (i == 0) check.Present = read;
    }
    check.Checksum = sum.Value();
    return check;
}

// A map with its buildings and the files its pickups read.
TFileCheck MapCheck(std::string_view mapPath) {
    std::vector<std::string> files{MapFileName(mapPath)};
    for (std::string& file : MapDataFiles(mapPath))
        files.push_back(std::move(file));
    return CheckFiles(files);
}

// A character's statistics and its own weapon: what decides its fights.
TFileCheck CharacterCheck(std::string_view name) {
    const std::string characterFile = "data\\" + std::string(name) + ".plr";
    const std::string weapon = TIniFile(characterFile).ReadString("Fight", "Weapon", "Knife");
    return CheckFiles({characterFile, "data\\" + weapon + ".wpn"});
}

// "Maps\Lake.map" is the map Lake to a person.
std::string MapTitle(std::string_view mapPath) {
    constexpr std::string_view kFolder = "Maps\\";
    constexpr std::string_view kExtension = ".map";
    if (mapPath.size() > kFolder.size() && SameTextNoCase(mapPath.substr(0, kFolder.size()), kFolder))
        mapPath.remove_prefix(kFolder.size());
    if (mapPath.size() > kExtension.size() &&
        SameTextNoCase(mapPath.substr(mapPath.size() - kExtension.size()), kExtension))
        mapPath.remove_suffix(kExtension.size());
    return LoggableName(mapPath);
}

bool AboutTheMap(TRefusal refusal) {
    return refusal == TRefusal::MapMissing || refusal == TRefusal::MapDiffers;
}

// The setup screen's words for a refusal, on the side that refused ("The server's map Lake is
// missing here.") and on its peer's ("The client does not have the map Lake.").
std::string RefusalText(TRefusal refusal, bool refusedHere, std::string_view peer, std::string_view subject) {
    const std::string thing =
        std::string(AboutTheMap(refusal) ? "map " : "character ") + std::string(subject);
    const bool missing = refusal == TRefusal::MapMissing || refusal == TRefusal::CharacterMissing;
    const std::string other(peer);
    if (refusedHere)
        return "The " + other + "'s " + thing +
               (missing ? " is missing here." : " differs from the one here.");
    return "The " + other + (missing ? " does not have the " : " has a different ") + thing + ".";
}

// The file checks of the peer's choice against the files here: the map first (server's
// offers only), then the character.
TRefusal Judge(const TChoosePlayerBody& choice, TRefusal verdict, const std::string& mapPath) {
    const std::optional<THandshake>& handshake = choice.Handshake;
    if (!mapPath.empty()) {
        const TFileCheck map = MapCheck(mapPath);
        if (!map.Present) return TRefusal::MapMissing;
        if (handshake && handshake->MapPresent && handshake->MapChecksum != map.Checksum)
            return TRefusal::MapDiffers;
    }
    if (verdict != TRefusal::None) return verdict;
    if (handshake && handshake->CharacterPresent &&
        handshake->CharacterChecksum != CharacterCheck(choice.CharacterName).Checksum)
        return TRefusal::CharacterDiffers;
    return TRefusal::None;
}

} // namespace

void TBriskGame::SendChoice(THandshakeStep step, TRefusal refusal) {
    const bool server = NetMode == kNetServer;
    const TBriskImage* character = SetupImages.Items((server ? Player1Char : Player2Char) + 1);
    const std::string name = character != nullptr ? character->Name : std::string();
    THandshake handshake;
    handshake.Step = step;
    handshake.Refusal = refusal;
    const TFileCheck own = CharacterCheck(name);
    handshake.CharacterPresent = own.Present;
    handshake.CharacterChecksum = own.Checksum;
    if (server) {
        const TFileCheck map = MapCheck(MapName);
        handshake.MapPresent = map.Present;
        handshake.MapChecksum = map.Checksum;
        handshake.MapPath = MapName;
    }
    TNetMessage message;
    message.Text = "MESSAGE";
    // Only the server's names its player in the header as well.
    if (server) message.Player = "Player1";
    message.Kind = static_cast<uint8_t>(TMessageKind::ChoosePlayer);
    message.Body =
        TChoosePlayerBody{name.substr(0, kBodyTextCapacity), server ? "Player1" : "Player2",
                          server ? MapName.substr(0, kBodyTextCapacity) : std::string(), handshake,
                          static_cast<uint8_t>(server ? ValidRounds(Rounds) : 0)};
    SendMessage(message);
}

void TBriskGame::AnnounceMatch() {
    SendChoice(THandshakeStep::Start);
    // The peer has just been heard from: its Choose Player let this match start.
    LastHeardTick = SystemTicks();
}

void TBriskGame::OfferMatch() {
    MapName = MapFileName(MapNames.at(static_cast<size_t>(MapIndex)));
    SetupNotice.clear();
    AnnounceMatch();
    Net.AwaitingAnswer = true;
}

void TBriskGame::ReceiveChoice(const TChoosePlayerBody& choice) {
    // CheckPeerRecord refused an unknown character; everything else is judged here.
    const TRefusal verdict =
        SetupImages.IndexOf(choice.CharacterName) >= 1 ? TRefusal::None : TRefusal::CharacterMissing;
    const std::optional<THandshake>& handshake = choice.Handshake;
    const THandshakeStep step = handshake ? handshake->Step : THandshakeStep::Announce;
    const auto refuse = [this, &handshake](TRefusal refusal, std::string text) {
        SetupNotice = std::move(text);
        Logger->LogStatus(SetupNotice, "Choose Player");
        if (handshake) SendChoice(THandshakeStep::Refuse, refusal);
    };
    const auto refusedByPeer = [this, &handshake](std::string_view peer, std::string_view ownCharacter) {
        const std::string subject =
            AboutTheMap(handshake->Refusal) ? MapTitle(MapName) : std::string(ownCharacter);
        SetupNotice = RefusalText(handshake->Refusal, false, peer, subject);
        Logger->LogStatus(SetupNotice, "Choose Player");
    };

    if (NetMode == kNetServer) {
        const TBriskImage* own = SetupImages.Items(Player1Char + 1);
        if (step == THandshakeStep::Accept) {
            if (!Net.AwaitingAnswer) return;
            Net.AwaitingAnswer = false;
            Net.OfferAccepted = true;
            SetState(TGameState::Initialization);
        } else if (step == THandshakeStep::Refuse) {
            if (!Net.AwaitingAnswer) return;
            Net.AwaitingAnswer = false;
            OpponentReady = false;
            refusedByPeer("client", own != nullptr ? own->Name : "");
        } else if (step == THandshakeStep::Announce) {
            Net.PeerChecksFiles = handshake.has_value();
            Net.AwaitingAnswer = false;
            const TRefusal refusal = Judge(choice, verdict, "");
            if (refusal != TRefusal::None) {
                OpponentReady = false;
                Player2Char = -1;
                refuse(refusal, RefusalText(refusal, true, "client", LoggableName(choice.CharacterName)));
                return;
            }
            SetupNotice.clear();
            Player2Char = SetupImages.IndexOf(choice.CharacterName) - 1;
            OpponentReady = true;
            PlaySound("ReadyToPlay");
        }
        return;
    }
    if (NetMode != kNetClient || State != TGameState::WaitForServer) return;
    const TBriskImage* own = SetupImages.Items(Player2Char + 1);
    if (step == THandshakeStep::Refuse) {
        refusedByPeer("server", own != nullptr ? own->Name : "");
        SetState(TGameState::Setup);
        return;
    }
    // A server's offer: with the check, or from a game that sends none.
    if (handshake && step != THandshakeStep::Start) return;
    Net.PeerChecksFiles = handshake.has_value();
    const std::string mapPath = MapFileName(ChosenMapPath(choice));
    const TRefusal refusal = Judge(choice, verdict, mapPath);
    if (refusal != TRefusal::None) {
        const std::string subject =
            AboutTheMap(refusal) ? MapTitle(mapPath) : LoggableName(choice.CharacterName);
        refuse(refusal, RefusalText(refusal, true, "server", subject));
        SetState(TGameState::Setup);
        return;
    }
    Player1Char = SetupImages.IndexOf(choice.CharacterName) - 1;
    MapName = mapPath;
    Net.ServerRounds = ValidRounds(choice.Rounds);
    SetupNotice.clear();
    if (handshake) SendChoice(THandshakeStep::Accept);
    StartMatch();
}
