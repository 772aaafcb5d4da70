#include "platform/CurlLibrary.h"
#include <QLibrary>

namespace {
template <typename F>
bool resolve(QLibrary& library, const char* name, F& into)
{
    into = reinterpret_cast<F>(library.resolve(name));
    return into != nullptr;
}

bool load(CurlLibrary& c)
{
    // Linux names the library by its ABI version; Windows builds call it libcurl-4.dll (MinGW's)
    // or libcurl.dll.
    static QLibrary library;
    for (const auto& [name, version] : {std::pair{"curl", 4}, std::pair{"libcurl-4", -1}, std::pair{"libcurl", -1},
                                        std::pair{"curl", -1}}) {
        library.setFileNameAndVersion(QString::fromLatin1(name), version);
        if (library.load())
            break;
    }
    return library.isLoaded() && resolve(library, "curl_global_init", c.global_init)
           && resolve(library, "curl_easy_init", c.easy_init) && resolve(library, "curl_easy_setopt", c.easy_setopt)
           && resolve(library, "curl_easy_getinfo", c.easy_getinfo)
           && resolve(library, "curl_easy_strerror", c.easy_strerror)
           && resolve(library, "curl_easy_cleanup", c.easy_cleanup) && resolve(library, "curl_multi_init", c.multi_init)
           && resolve(library, "curl_multi_add_handle", c.multi_add_handle)
           && resolve(library, "curl_multi_remove_handle", c.multi_remove_handle)
           && resolve(library, "curl_multi_perform", c.multi_perform)
           && resolve(library, "curl_multi_info_read", c.multi_info_read)
           && resolve(library, "curl_multi_wait", c.multi_wait)
           && resolve(library, "curl_multi_cleanup", c.multi_cleanup) && c.global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
}
}

const CurlLibrary* CurlLibrary::get()
{
    static CurlLibrary curl;
    static const bool ready = load(curl);
    return ready ? &curl : nullptr;
}
