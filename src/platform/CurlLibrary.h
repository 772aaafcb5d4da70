#pragma once
#include <curl/curl.h>

// libcurl, loaded when the first transfer starts: the libraries it brings (TLS, LDAP, SSH and
// more) then cost neither start-up time nor memory in a program that rarely goes online.
struct CurlLibrary {
    CURLcode (*global_init)(long flags) = nullptr;
    CURL* (*easy_init)() = nullptr;
    CURLcode (*easy_setopt)(CURL* easy, CURLoption option, ...) = nullptr;
    CURLcode (*easy_getinfo)(CURL* easy, CURLINFO info, ...) = nullptr;
    const char* (*easy_strerror)(CURLcode code) = nullptr;
    void (*easy_cleanup)(CURL* easy) = nullptr;
    CURLM* (*multi_init)() = nullptr;
    CURLMcode (*multi_add_handle)(CURLM* multi, CURL* easy) = nullptr;
    CURLMcode (*multi_remove_handle)(CURLM* multi, CURL* easy) = nullptr;
    CURLMcode (*multi_perform)(CURLM* multi, int* running) = nullptr;
    CURLMsg* (*multi_info_read)(CURLM* multi, int* left) = nullptr;
    CURLMcode (*multi_wait)(CURLM* multi, curl_waitfd* extra, unsigned int count, int timeoutMs, int* ready) = nullptr;
    CURLMcode (*multi_cleanup)(CURLM* multi) = nullptr;

    // The library, loaded and started on the first call; nullptr when it cannot be.
    static const CurlLibrary* get();
};
