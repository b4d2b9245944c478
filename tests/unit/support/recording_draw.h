// The particle core's tests link this ParticleDraw in place of the graphics
// layer's: it records which particle bodies were drawn, in order.
#pragma once

#include <vector>

#include "demo/particle.h"

std::vector<ParticleBody*>& DrawnBodies();
