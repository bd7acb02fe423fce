#include "network/proxy_link.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "kvfunction.h"
#include "scopedwin.h"

// Controls of the general settings page; the same numbers as its resources.
#ifndef IDUSEPROXY
#define IDUSEPROXY 10325
#endif
#ifndef IDPROXY
#define IDPROXY 10354
#endif
#ifndef IDUSER
#define IDUSER 10355
#endif
#ifndef IDPASS
#define IDPASS 10356
#endif

namespace {
HWND proxyPage = nullptr;
}

void SetProxyPage(HWND page) { proxyPage = page; }

char* CreatProxyLink() {
    if (!proxyPage || IsDlgButtonChecked(proxyPage, IDUSEPROXY) != BST_CHECKED) return nullptr;
    HeapString server(GetItemChar(proxyPage, IDPROXY));
    HeapString user(GetItemChar(proxyPage, IDUSER));
    HeapString pass(GetItemChar(proxyPage, IDPASS));
    // A lone user name or password would be glued to the server's name.
    bool both = user && pass;
    const char* parts[] = {both ? user.get() : "", both ? ":" : "", both ? pass.get() : "", both ? "@" : "",
                           server ? server.get() : ""};
    size_t length = 1;
    for (const char* part : parts) length += strlen(part);
    char* text = static_cast<char*>(malloc(length));
    if (text) snprintf(text, length, "%s%s%s%s%s", parts[0], parts[1], parts[2], parts[3], parts[4]);
    return text;
}
