#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "base/globals.h"
#include "network/proxy_link.h"
#include "scopedwin.h"

namespace {

enum { kUseProxy = 10325, kServer = 10354, kUser = 10355, kPassword = 10356 };

std::string Link() {
    HeapString text(CreatProxyLink());
    return text ? text.get() : "<none>";
}

// The general page's proxy controls, on a window of their own.
TEST(CreatProxyLink, ReadsTheProxyControls) {
    EXPECT_EQ(Link(), "<none>") << "no page: no proxy";
    HWND page = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(page, nullptr);
    auto child = [page](const char* cls, DWORD style, int id) {
        return CreateWindowExA(0, cls, "", WS_CHILD | style, 0, 0, 100, 20, page,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    };
    child("BUTTON", BS_AUTOCHECKBOX, kUseProxy);
    child("EDIT", ES_AUTOHSCROLL, kServer);
    child("EDIT", ES_AUTOHSCROLL, kUser);
    child("EDIT", ES_AUTOHSCROLL, kPassword);
    hBoth = page;

    SetDlgItemTextA(page, kServer, "proxy.local:8080");
    SetDlgItemTextA(page, kUser, "bob");
    SetDlgItemTextA(page, kPassword, "pa:ss");
    EXPECT_EQ(Link(), "<none>") << "the use-proxy box is off";
    CheckDlgButton(page, kUseProxy, BST_CHECKED);
    EXPECT_EQ(Link(), "bob:pa:ss@proxy.local:8080");
    SetDlgItemTextA(page, kPassword, "");
    EXPECT_EQ(Link(), "proxy.local:8080") << "a lone user name is not glued to the server";
    SetDlgItemTextA(page, kUser, "");
    SetDlgItemTextA(page, kServer, "");
    EXPECT_EQ(Link(), "");

    hBoth = nullptr;
    DestroyWindow(page);
}

}  // namespace
