// Plays arbitrary bytes as a placeable or plain metafile into a small image. Every record reader
// must stay inside its bytes, and playing must end in reasonable time and memory.
#include "metafilefuzzing.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    metafilefuzzing::StartApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Enhanced files have their own target; here they only have their header read.
    const figures::MetafileInfo info = figures::InspectMetafile({data, size});
    if (info.ok && !info.enhanced) {
        metafilefuzzing::Play(data, size);
    }
    return 0;
}
