// The host's HTTP/1.0 client: one GET, directly or through a proxy with Basic
// authorisation, redirects followed, the body delivered without its header.
// Runs synchronously in the calling thread.
#pragma once

#include <windows.h>

#include <cstdio>

#include "dravonel_plugin.h"

#include "network/http_request.h"

// Delivery kinds of KvGetInetFile.
enum {
    INET_TO_MEMORY = 0,    // one heap block, returned
    INET_TO_FILE = 1,      // written to sfout or Fout
    INET_TO_FUNCTION = 2,  // handed piece by piece to pSaveRez
};

// Kind 2's receiver (SaveRezFunction of the plug-in protocol): the stream, a
// piece of body and its length. Its result is ignored.

// Fetches url. proxy: "user:pass@server:port" (every part optional) or none
// for a direct connection. sstop: the body ends before the first occurrence
// of this text. bError: report failures in message boxes. btype: delivery
// kind. Lread (kind 0, required): set to 0, then counts the delivered bytes.
// sfout: file created for kinds 1 and 2; else Fout, a stream the caller
// opened and keeps. pSaveRez: kind 2's receiver.
// Returns for kind 0 the body in a heap block the caller frees, always
// NUL-terminated (the NUL not counted), or none when no byte arrived; for
// kinds 1 and 2 always none.
char* KvGetInetFile(const char* url, const char* proxy, const char* sstop, int bError, unsigned char btype,
                    int* Lread, const char* sfout, FILE* Fout, SaveRezFunction pSaveRez);

// How the last response of a transfer ended, for a caller that must know
// whether the body came whole before it trusts it.
struct InetOutcome {
    int status = 0;           // the status line's code; 0 when none was read
    long long length = -1;    // the header's Content-Length; -1 when none
    long long delivered = 0;  // body bytes of that response handed on
    // The body's end was seen (the server closed, all it announced arrived,
    // or the stop string) and every piece was stored.
    bool ended = false;
    bool timedOut = false;  // the call's time limit struck
    bool tooLarge = false;  // the call received more than its size limit
    // A whole answer of success: only this may replace what a caller keeps.
    bool whole() const { return ended && status >= 200 && status < 300; }
};

// Service 18: the client for a plug-in's record, through proxy (none:
// direct). Only a whole 2xx answer counts: kind 0 answers its block (the
// plug-in frees it), and none with the count at 0 for anything else; kinds
// 1 and 2 answer 1 for a whole 2xx answer and 0 otherwise.
INT_PTR KvGetInetFileForPlugin(const s_getinetfile& record, const char* proxy);

// Bounds of one call, redirects included. Past either the call fails: kind
// 0 returns none, the outcome says which bound struck. plugin_guide.md
// tells plug-in authors the defaults.
struct InetLimits {
    DWORD timeLimitMs;   // from the call's start to its end, connecting included
    long long sizeLimit; // bytes received, headers included
};
const InetLimits kDefaultInetLimits = {60000, 4 * 1024 * 1024};
// Tests lower them; returns the previous ones.
InetLimits SetInetLimits(const InetLimits& limits);

// KvGetInetFile that also tells how the transfer ended (outcome may be
// none), within bounds (none: the limits above).
char* KvGetInetFileOutcome(const char* url, const char* proxy, const char* sstop, int bError, unsigned char btype,
                           int* Lread, const char* sfout, FILE* Fout, SaveRezFunction pSaveRez, InetOutcome* outcome,
                           const InetLimits* bounds = nullptr);

// Sends the text D on socket *s with one send; 1 when send reported no error.
int SendData(const char* D, UINT_PTR* s);

// One recv of at most INET_BLOCK_SIZE bytes from *s into B, which must hold
// INET_BLOCK_SIZE + 1; a NUL follows the bytes when the call did not fail.
// Returns recv's result.
enum { INET_BLOCK_SIZE = 1024 };
int Receives(char* B, UINT_PTR* s);

// Redirects followed in one call before it gives up.
enum { INET_MAX_REDIRECTS = 10 };

// The system calls behind the client, replaceable so tests can record
// messages instead of showing boxes and see which names are looked up; none
// restores the system's own. Each returns the previous function.
typedef int (WINAPI* InetMessageBoxFunction)(HWND, LPCSTR, LPCSTR, UINT);
InetMessageBoxFunction SetInetMessageBoxFunction(InetMessageBoxFunction function);
struct hostent;
typedef struct hostent*(WINAPI* InetHostLookupFunction)(const char* name);
InetHostLookupFunction SetInetHostLookupFunction(InetHostLookupFunction function);
