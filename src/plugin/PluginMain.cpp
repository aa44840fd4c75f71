// Placeholder until registration lands; replaced by the entry module.
#include <cstdint>
extern "C" void KIVOPluginMain(void *(*resolver)(const char *)) { (void)resolver; }
