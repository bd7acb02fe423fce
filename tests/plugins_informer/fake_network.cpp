// Service 18 of the fake host: the host's own HTTP client. Kept apart
// because the client and the protocol header each declare SaveRezFunction
// (the client's takes char*, the protocol's const char*).
#include "network/http_client.h"

char* FakeHostFetch(const char* url, const char* sstop, int bError, unsigned char btype, int* Lread,
                    const char* sfout, FILE* Fout, void* pSaveRez) {
    return KvGetInetFile(url, nullptr, sstop, bError, btype, Lread, sfout, Fout,
                         reinterpret_cast<SaveRezFunction>(pSaveRez));
}
