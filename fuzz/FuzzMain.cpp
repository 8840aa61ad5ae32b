// libFuzzer's door to one of the entry functions (VYRN_FUZZ_ENTRY).
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) { return VYRN_FUZZ_ENTRY(Data, Size); }
