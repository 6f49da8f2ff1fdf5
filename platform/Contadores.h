// Internal to the platform layer: counters of platform calls, for measurements.
#pragma once

namespace plataforma {
void ContaLeituraPlataforma();
void ContaCessao();
}
