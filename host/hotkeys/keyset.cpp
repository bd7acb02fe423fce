#include "hotkeys/keyset.h"

#include <cstdlib>
#include <cstring>

keyset* NewKeySet(const char* keyname, DravonexFunction pDravonex) {
    keyset* record = static_cast<keyset*>(calloc(1, sizeof(keyset)));
    if (!record) return nullptr;
    record->keyname = _strdup(keyname ? keyname : "");
    record->pDravonex = pDravonex;
    return record;
}

keyset* KeySetOf(HWND control) {
    return control ? reinterpret_cast<keyset*>(GetWindowLongPtrA(control, GWLP_USERDATA)) : nullptr;
}
