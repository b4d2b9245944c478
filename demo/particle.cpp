// The particle pass and the one update callback of every particle.
#include "particle.h"

List ParticleList;
WindVector Wind;

void ParticlePass() {
    ListReset(ParticleList);
    while (ListNext(ParticleList) != nullptr) {
        Particle* particle = ParticleOf(ParticleList.current);
        if (particle->update(&particle->body) != 0) {
            // The update may have added particles behind this one; by the
            // callbacks' rule the cursor is back on it.
            particle = ParticleOf(ParticleList.current);
            particle->draw(&particle->body);
        } else {
            ListDeleteCurrent(ParticleList);
        }
    }
}

int32_t ParticleUpdate(ParticleBody* body) {
    if (body->lifeTime != 0) {
        const int32_t age = static_cast<int32_t>(GetTickCount() - body->bornTick);
        if (age > body->lifeTime) {
            if (body->alpha <= 0 || body->alphaStep == 0) return 0;
            body->alpha = static_cast<int32_t>(static_cast<uint32_t>(body->alpha) - static_cast<uint32_t>(body->alphaStep));
            if (body->alpha <= 0) body->alpha = 0;
        }
    }
    body->velocityX = body->velocityX + body->accelerationX / 100.0f;
    body->velocityY = body->velocityY + body->accelerationY / 100.0f;
    if (body->friction != 0.0f) {
        body->velocityX = body->velocityX / body->friction;
        body->velocityY = body->velocityY / body->friction;
    }
    body->x = (body->x + body->velocityX) + body->drift * static_cast<float>(Wind.x);
    body->y = (body->y + body->velocityY) + body->drift * static_cast<float>(Wind.y);
    if (body->spawnCount != 0) {
        body->spawnCount = static_cast<int32_t>(static_cast<uint32_t>(body->spawnCount) - 1u);
        if (body->spawn != nullptr) body->spawn(body);
    }
    return 1;
}
