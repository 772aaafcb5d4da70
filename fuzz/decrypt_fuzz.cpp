// Password descrambling of any stored text, and the round trip of everything that scrambles.
#include "FuzzSupport.h"
#include "updater/cSharedDecrypt.h"
#include "updater/cSharedEncrypt.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace FuzzSupport;
    const QString text = FuzzSupport::text(data, size);
    cSharedDecrypt().Decrypt(text);

    QString scrambled;
    try {
        scrambled = cSharedEncrypt().Encrypt(text);
    } catch (...) {
        return 0;  // no scrambled form: the caller is told and stores nothing
    }
    const QString back = cSharedDecrypt().Decrypt(scrambled);
    require(back == text, "a scrambled password does not come back", text + " -> " + scrambled + " -> " + back);
    return 0;
}
