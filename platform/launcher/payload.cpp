#include "platform/launcher/payload.h"

// The cabinet's bytes between two symbols; MC_PAYLOAD_FILE is the cabinet the build made.
#define MC_STRINGIFY_(x) #x
#define MC_STRINGIFY(x) MC_STRINGIFY_(x)
__asm__(
    ".section .rodata.mc_payload,\"a\",@progbits\n"
    ".balign 16\n"
    "mc_payload_start:\n"
    ".incbin \"" MC_STRINGIFY(MC_PAYLOAD_FILE) "\"\n"
    "mc_payload_end:\n"
    ".previous\n");

extern "C" const char mc_payload_start[];
extern "C" const char mc_payload_end[];

std::string_view GamePayload() {
  return std::string_view(mc_payload_start, static_cast<size_t>(mc_payload_end - mc_payload_start));
}
