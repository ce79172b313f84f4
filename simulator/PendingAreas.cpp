#include "Areas.h"
namespace kelvra::sim {
void RegisterResultPages(Router&, Context&) {}
void RegisterProductPages(Router&, Context&) {}
void RegisterInfoPages(Router&, Context&) {}
void RegisterUpdateServices(Router&, Context&) {}
} // namespace kelvra::sim
