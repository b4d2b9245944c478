// A fresh MainHeap and an empty ParticleList with Wind as at start-up.
#pragma once

#include <vector>

#include "demo/particle.h"
#include "support/main_heap.h"
#include "support/recording_draw.h"

class ParticleTest : public MainHeapTest {
protected:
    void SetUp() override {
        MainHeapTest::SetUp();
        ParticleList = List{};
        ListInit(ParticleList, sizeof(Particle));
        ASSERT_NE(ParticleList.header, nullptr);
        Wind = {1, -1};
        DrawnBodies().clear();
        // Distinct stand-ins for the three images; the recording ParticleDraw
        // never looks behind them.
        SmokeImage = reinterpret_cast<QuadImage*>(0x1000);
        FireImage = reinterpret_cast<QuadImage*>(0x2000);
        ScorchImage = reinterpret_cast<QuadImage*>(0x3000);
    }

    // Every particle of ParticleList, first to last.
    static std::vector<Particle*> Particles() {
        std::vector<Particle*> all;
        for (ListElement* e = ParticleList.header->first; e != nullptr; e = e->next) all.push_back(ParticleOf(e));
        return all;
    }

    // Appends a zero-filled particle with the given callbacks.
    static Particle* Append(ParticleCallback update, ParticleCallback draw) {
        while (ListNext(ParticleList) != nullptr) {
        }
        Particle* particle = ParticleOf(ListAdd(ParticleList));
        particle->update = update;
        particle->draw = draw;
        return particle;
    }
};
