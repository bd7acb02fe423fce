#include "network/proxy_link.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/globals.h"
#include "ids_general.h"
#include "kvfunction.h"
#include "scopedwin.h"

char* CreatProxyLink() {
    HWND proxyPage = hBoth;
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
