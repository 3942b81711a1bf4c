// A map with keyboard fighters on it, the manual clock and the key table, for the fighter
// and status panel tests.
#pragma once

#include "platform/Random.h"
#include "support/MediaFixture.h"
#include "world/KeyState.h"
#include "world/Map.h"
#include "world/Players.h"

#include <memory>
#include <string>

// Key symbols of key set 0 and 1.
constexpr int kUp = 273, kDown = 274, kLeft = 276, kRight = 275, kSpace = 32, kRightAlt = 307;
constexpr int kW = 119, kS = 115, kA = 97, kD = 100, kLeftCtrl = 306, kLeftAlt = 308;

class PlayersFixture : public MediaFixture {
protected:
    void SetUp() override {
        MediaFixture::SetUp();
        ClearKeyState();
        Map = std::make_unique<TBaseMap>();
    }
    void TearDown() override {
        Map.reset();
        ClearKeyState();
        SetRandomSource({});
        MediaFixture::TearDown();
    }

    // A weapon template as a weapon file would give it, without a picture.
    static std::unique_ptr<TWeapon> MakeWeapon(const std::string& name, float speedPxPerMs = 0.3f) {
        auto weapon = std::make_unique<TWeapon>();
        weapon->Name = name;
        weapon->SetSpeed(speedPxPerMs);
        return weapon;
    }

    // A fighter as the character loader makes one from a default character file: foot point
    // (48, 70), 100 health, 0.05 px/ms, a six-frame attack, eight-frame walk and dying.
    TPlayer& AddPlayer(float x, float y, int keySet = 0) {
        auto player = std::make_unique<TPlayer>();
        player->SetControls(keySet);
        player->SetX(x);
        player->SetY(y);
        player->SetOffsetX(48);
        player->SetOffsetY(70);
        player->SetFrameDelay(100);
        player->SetMaxHealth(100);
        player->SetHealth(100);
        player->SetSpeed(0.05f);
        player->AttackFrames = 5;
        player->WalkFrames = 7;
        player->DieFrames = 7;
        player->StandFrames = 0;
        for (int d = 0; d < 8; ++d) {
            player->AttackDirFrames[static_cast<size_t>(d)] = 100 + d;
            player->WalkDirFrames[static_cast<size_t>(d)] = 200 + d;
            player->DieDirFrames[static_cast<size_t>(d)] = 300 + d;
            player->StandDirFrames[static_cast<size_t>(d)] = 400 + d;
        }
        player->SetAction(kActionStand);
        player->Weapon = MakeWeapon("Knife");
        return Map->Add(std::move(player));
    }

    // Missiles in flight on the map.
    [[nodiscard]] int MissileCount() const {
        int count = 0;
        for (const auto& item : Map->Items())
            if (const auto* missile = dynamic_cast<const TWeapon*>(item.get());
                missile && missile->ExpireTick != 0)
                ++count;
        return count;
    }
    [[nodiscard]] bool OnMap(const TBaseItem* item) const {
        for (const auto& held : Map->Items())
            if (held.get() == item) return true;
        return false;
    }

    static void Hold(int key) { SetKeyState(key, true); }
    static void Release(int key) { SetKeyState(key, false); }
    void Step(uint32_t ms) {
        Media->Clock.Advance(ms);
        Map->Update();
    }
    [[nodiscard]] uint32_t Now() const { return Media->Clock.Ticks(); }

    std::unique_ptr<TBaseMap> Map;
};
