// libFuzzer entry.
#include "fuzz_receive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return FuzzReceiveOneInput(data, size);
}
