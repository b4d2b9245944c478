#include "recording_draw.h"

std::vector<ParticleBody*>& DrawnBodies() {
    static std::vector<ParticleBody*> bodies;
    return bodies;
}

int32_t ParticleDraw(ParticleBody* body) {
    DrawnBodies().push_back(body);
    return 1;
}
