// winsock2.h must come before windows.h.
#include <winsock2.h>

#include "network/http_client.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "network/http_response.h"
#include "searchandpast.h"

namespace {

const WORD kWinsockVersion = 0x0101;
const int kDefaultPort = 80;
const int kDefaultProxyPort = 3128;
const DWORD kIdleTimeout = 10000;
const size_t kMessageSize = 256;

InetLimits limits = kDefaultInetLimits;
InetMessageBoxFunction messageBox = MessageBoxA;
InetHostLookupFunction hostLookup = gethostbyname;

void Report(int bError, const char* text) {
    if (bError) messageBox(nullptr, text, nullptr, MB_ICONWARNING);
}

void ReportNumber(int bError, const char* format, const char* name, int code) {
    if (!bError) return;
    char message[kMessageSize];
    if (name)
        snprintf(message, sizeof message, format, name, code);
    else
        snprintf(message, sizeof message, format, code);
    Report(bError, message);
}

// What is left of the call's time and size limits, across its redirects.
class CallBudget {
public:
    explicit CallBudget(const InetLimits& bounds)
        : started_(GetTickCount()), timeLimit_(bounds.timeLimitMs), bytesLeft_(bounds.sizeLimit) {}

    // The next wait: the idle time-out, or less when the call's end is nearer.
    DWORD NextWait(DWORD idle) const {
        DWORD spent = GetTickCount() - started_;
        DWORD left = spent >= timeLimit_ ? 0 : timeLimit_ - spent;
        return left < idle ? left : idle;
    }
    bool OutOfTime() {
        if (GetTickCount() - started_ >= timeLimit_) timedOut = true;
        return timedOut;
    }
    // False once the call has received more than it may.
    bool Take(size_t bytes) {
        if (static_cast<long long>(bytes) > bytesLeft_) tooLarge = true;
        bytesLeft_ -= static_cast<long long>(bytes);
        return !tooLarge;
    }
    bool exceeded() const { return timedOut || tooLarge; }

    bool timedOut = false;
    bool tooLarge = false;

private:
    DWORD started_;
    DWORD timeLimit_;
    long long bytesLeft_;
};

// Where the body goes: the caller's kind, with its stream or block.
struct Delivery {
    unsigned char kind;
    int* count;
    FILE* stream;
    SaveRezFunction receiver;
    char* block = nullptr;
    size_t capacity = 0;
    long long delivered = 0;  // body bytes of the current attempt
    bool lost = false;        // a piece could not be stored

    bool Put(std::string& piece) {
        if (!Store(piece)) {
            lost = true;
            return false;
        }
        delivered += static_cast<long long>(piece.size());
        return true;
    }

    // False when the body can go nowhere (no memory, disk full).
    bool Store(std::string& piece) {
        if (piece.empty()) return true;
        switch (kind) {
        case INET_TO_MEMORY: {
            size_t used = static_cast<size_t>(*count);
            if (used + piece.size() + 1 > capacity) {
                size_t wanted = (used + piece.size() + 1) * 2;
                char* grown = static_cast<char*>(realloc(block, wanted));
                if (!grown) return false;
                block = grown;
                capacity = wanted;
            }
            memcpy(block + used, piece.data(), piece.size());
            block[used + piece.size()] = '\0';
            *count += static_cast<int>(piece.size());
            return true;
        }
        case INET_TO_FILE:
            return fwrite(piece.data(), 1, piece.size(), stream) == piece.size();
        default:
            receiver(stream, &piece[0], static_cast<int>(piece.size()));
            return true;
        }
    }
};

class WinsockSession {
public:
    WinsockSession() : error_(WSAStartup(kWinsockVersion, &data_)) {}
    ~WinsockSession() {
        if (!error_) WSACleanup();
    }
    int error() const { return error_; }

private:
    WSADATA data_;
    int error_;
};

class ScopedSocket {
public:
    ScopedSocket() : socket_(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {}
    ~ScopedSocket() {
        if (socket_ != INVALID_SOCKET) closesocket(socket_);
    }
    SOCKET* get() { return &socket_; }
    bool valid() const { return socket_ != INVALID_SOCKET; }

private:
    SOCKET socket_;
};

class ScopedWsaEvent {
public:
    ScopedWsaEvent() : event_(WSACreateEvent()) {}
    ~ScopedWsaEvent() {
        if (event_ != WSA_INVALID_EVENT) WSACloseEvent(event_);
    }
    WSAEVENT get() const { return event_; }

private:
    WSAEVENT event_;
};

bool HasLatinLetter(const char* name) {
    for (; *name; ++name)
        if (*name >= 'a' && *name <= 'z') return true;
    return false;
}

enum AttemptEnd { ATTEMPT_DONE, ATTEMPT_REDIRECT, ATTEMPT_FAILED };

// Reads what is waiting. Ends the exchange when the response is complete, the
// server closed (closed is set), reading failed or the size limit struck.
bool ReadWaiting(SOCKET* s, HttpResponse& response, Delivery& delivery, CallBudget& budget, bool* finished,
                 bool* closed) {
    char block[INET_BLOCK_SIZE + 1];
    std::string piece;
    for (;;) {
        int received = Receives(block, reinterpret_cast<UINT_PTR*>(s));
        if (received <= 0) {
            if (received == 0) *closed = true;
            if (received == 0 || WSAGetLastError() != WSAEWOULDBLOCK) *finished = true;
            return true;
        }
        // An endless answer must not eat the memory or the disk.
        if (!budget.Take(static_cast<size_t>(received))) {
            *finished = true;
            return false;
        }
        piece.clear();
        HttpResponse::Status status = response.Feed(block, static_cast<size_t>(received), &piece);
        if (!delivery.Put(piece)) return false;
        if (status != HttpResponse::MORE) {
            *finished = true;
            return true;
        }
    }
}

// One connection, its connect under way: send the request once connected,
// read the answer until it is complete, the server closes, the server stays
// silent for the idle time-out, or the call's limits strike.
AttemptEnd Exchange(SOCKET* s, WSAEVENT event, const std::string& request, HttpResponse& response,
                    Delivery& delivery, CallBudget& budget, bool* closed) {
    bool sent = false;
    bool finished = false;
    bool delivering = true;
    while (!finished) {
        DWORD wait = budget.NextWait(kIdleTimeout);
        DWORD waited = WSAWaitForMultipleEvents(1, &event, FALSE, wait, FALSE);
        if (waited != WSA_WAIT_EVENT_0) {
            budget.OutOfTime();
            break;
        }
        for (;;) {
            WSANETWORKEVENTS events;
            if (WSAEnumNetworkEvents(*s, event, &events) != 0) {
                finished = true;
                break;
            }
            if (!events.lNetworkEvents) break;
            if ((events.lNetworkEvents & FD_CONNECT) && events.iErrorCode[FD_CONNECT_BIT] != 0) return ATTEMPT_FAILED;
            if (events.lNetworkEvents & FD_READ)
                delivering = ReadWaiting(s, response, delivery, budget, &finished, closed);
            if (!delivering) finished = true;
            if (!finished && (events.lNetworkEvents & FD_WRITE) && !sent) {
                sent = true;
                if (!SendData(request.c_str(), reinterpret_cast<UINT_PTR*>(s))) finished = true;
            }
            // The server closed: what it sent before is still waiting.
            if (!finished && (events.lNetworkEvents & FD_CLOSE)) {
                delivering = ReadWaiting(s, response, delivery, budget, &finished, closed);
                // A reset is no end of the body.
                if (events.iErrorCode[FD_CLOSE_BIT] == 0) *closed = true;
                finished = true;
            }
            if (finished) break;
            // A trickle never leaves the event silent for long: the overall
            // limit is checked between events too.
            if (budget.OutOfTime()) {
                finished = true;
                break;
            }
        }
    }
    if (budget.exceeded()) return ATTEMPT_FAILED;
    if (response.status() == HttpResponse::REDIRECT) return ATTEMPT_REDIRECT;
    std::string rest;
    response.Finish(&rest);
    if (delivering) delivery.Put(rest);
    return ATTEMPT_DONE;
}

char* CopyOf(const char* text) {
    size_t length = strlen(text) + 1;
    char* copy = static_cast<char*>(malloc(length));
    if (copy) memcpy(copy, text, length);
    return copy;
}

// One attempt at the current target; REDIRECT leaves the new URL in location.
AttemptEnd Attempt(paramlink& target, paramlink* proxy, const char* sstop, int bError, Delivery& delivery,
                   CallBudget& budget, std::string* location, InetOutcome* outcome) {
    if (outcome) *outcome = InetOutcome();
    bool noServer = !target.address || !*target.address;
    if (noServer) Report(bError, "Не указан сервер");
    if (!target.file) Report(bError, "Не указан урл");
    if (noServer || !target.file) return ATTEMPT_FAILED;

    if (target.port == 0) target.port = kDefaultPort;
    char* host = target.address;
    int port = target.port;
    if (proxy) {
        // A proxy that names no server cannot be reached.
        if (!proxy->address || !*proxy->address) return ATTEMPT_FAILED;
        if (proxy->port == 0) proxy->port = kDefaultProxyPort;
        host = proxy->address;
        port = proxy->port;
    }
    // Lowered in place: in a direct request the Host line shows it lowered.
    StrToLowOrUp(host, KV_LOWER);
    std::string request;
    if (BuildInetRequest(target, proxy, &request) != INET_REQUEST_OK) return ATTEMPT_FAILED;

    WinsockSession winsock;
    if (winsock.error()) {
        ReportNumber(bError, "Ошибка соединения %d", nullptr, winsock.error());
        return ATTEMPT_FAILED;
    }
    ScopedSocket s;
    if (!s.valid()) {
        ReportNumber(bError, "Ошибка сокета %d", nullptr, WSAGetLastError());
        return ATTEMPT_FAILED;
    }

    sockaddr_in to = {};
    to.sin_family = AF_INET;
    if (HasLatinLetter(host)) {
        hostent* found = hostLookup(host);
        if (!found || found->h_addrtype != AF_INET || !found->h_addr_list || !found->h_addr_list[0]) {
            ReportNumber(bError, "Error gethostbyname %s %d", host, WSAGetLastError());
            return ATTEMPT_FAILED;
        }
        memcpy(&to.sin_addr, found->h_addr_list[0], sizeof to.sin_addr);
    } else {
        to.sin_addr.s_addr = inet_addr(host);
    }
    // A port out of range would be cut to another port by htons.
    if (port < 1 || port > 65535) return ATTEMPT_FAILED;
    to.sin_port = htons(static_cast<u_short>(port));
    // Connecting without blocking lets the call's time limit bound it too.
    ScopedWsaEvent event;
    if (event.get() == WSA_INVALID_EVENT ||
        WSAEventSelect(*s.get(), event.get(), FD_CONNECT | FD_READ | FD_WRITE | FD_CLOSE) != 0)
        return ATTEMPT_FAILED;
    if (connect(*s.get(), reinterpret_cast<sockaddr*>(&to), sizeof to) != 0 && WSAGetLastError() != WSAEWOULDBLOCK)
        return ATTEMPT_FAILED;

    HttpResponse response(sstop);
    delivery.delivered = 0;
    bool closed = false;
    AttemptEnd end = Exchange(s.get(), event.get(), request, response, delivery, budget, &closed);
    if (end == ATTEMPT_REDIRECT) *location = response.location();
    if (outcome) {
        outcome->status = response.statusCode();
        outcome->length = response.contentLength();
        outcome->delivered = delivery.delivered;
        // Without a length only the server's close marks the body's end; a
        // silence that outlasts the time-out may have cut it, and so may a
        // close before all the announced bytes came.
        const HttpResponse::Status status = response.status();
        const bool bodyEnded = status == HttpResponse::COMPLETE || status == HttpResponse::STOPPED ||
                               (closed && outcome->length < 0);
        outcome->ended = !delivery.lost && !budget.exceeded() && bodyEnded;
        outcome->timedOut = budget.timedOut;
        outcome->tooLarge = budget.tooLarge;
    }
    return end;
}

}  // namespace

int SendData(const char* D, UINT_PTR* s) {
    return send(static_cast<SOCKET>(*s), D, static_cast<int>(strlen(D)), 0) == SOCKET_ERROR ? 0 : 1;
}

int Receives(char* B, UINT_PTR* s) {
    int received = recv(static_cast<SOCKET>(*s), B, INET_BLOCK_SIZE, 0);
    if (received >= 0) B[received] = '\0';
    return received;
}

char* KvGetInetFile(const char* url, const char* proxy, const char* sstop, int bError, unsigned char btype,
                    int* Lread, const char* sfout, FILE* Fout, SaveRezFunction pSaveRez) {
    return KvGetInetFileOutcome(url, proxy, sstop, bError, btype, Lread, sfout, Fout, pSaveRez, nullptr);
}

char* KvGetInetFileOutcome(const char* url, const char* proxy, const char* sstop, int bError, unsigned char btype,
                           int* Lread, const char* sfout, FILE* Fout, SaveRezFunction pSaveRez, InetOutcome* outcome,
                           const InetLimits* bounds) {
    if (outcome) *outcome = InetOutcome();
    if (btype > INET_TO_FUNCTION) return nullptr;
    if (btype == INET_TO_MEMORY && !Lread) return nullptr;
    if (btype == INET_TO_FUNCTION && !pSaveRez) return nullptr;
    if (btype != INET_TO_MEMORY && !sfout && !Fout) return nullptr;
    FILE* created = nullptr;
    if (btype != INET_TO_MEMORY && sfout) {
        created = fopen(sfout, "wb");
        if (!created) return nullptr;
        Fout = created;
    }
    if (!url) {
        if (created) fclose(created);
        return nullptr;
    }
    if (btype == INET_TO_MEMORY) *Lread = 0;

    Delivery delivery{btype, Lread, Fout, pSaveRez};
    paramlink target = {};
    target.link = CopyOf(url);
    GetParamAddress(url, &target);
    paramlink proxyLink = {};
    if (proxy) {
        proxyLink.link = CopyOf(proxy);
        GetParamAddress(proxy, &proxyLink);
    }

    CallBudget budget(bounds ? *bounds : limits);
    for (int redirects = 0;; ++redirects) {
        std::string location;
        if (Attempt(target, proxy ? &proxyLink : nullptr, sstop, bError, delivery, budget, &location, outcome) !=
            ATTEMPT_REDIRECT)
            break;
        // A server that keeps sending us on must not hold the caller forever.
        if (redirects == INET_MAX_REDIRECTS) break;
        ClearParamLink(&target);
        target.link = CopyOf(location.c_str());
        GetParamAddress(location.c_str(), &target);
    }

    ClearParamLink(&target);
    ClearParamLink(&proxyLink);
    if (created) fclose(created);
    if (budget.timedOut) Report(bError, "Превышено время ожидания ответа");
    if (budget.tooLarge) Report(bError, "Слишком большой ответ");
    // A body cut by a limit is not the resource: none rather than a part.
    if (budget.exceeded() && btype == INET_TO_MEMORY) {
        free(delivery.block);
        *Lread = 0;
        return nullptr;
    }
    return delivery.block;
}

INT_PTR KvGetInetFileForPlugin(const s_getinetfile& record, const char* proxy) {
    InetOutcome outcome;
    char* block = KvGetInetFileOutcome(record.url, proxy, record.sstop, record.bError, record.btype, record.Lread,
                                       record.sfout, record.Fout, record.pSaveRez, &outcome);
    if (record.btype != INET_TO_MEMORY) return outcome.whole() ? 1 : 0;
    if (outcome.whole()) return reinterpret_cast<INT_PTR>(block);
    // An error page or a cut body would pass for the resource.
    free(block);
    if (record.Lread) *record.Lread = 0;
    return 0;
}

InetLimits SetInetLimits(const InetLimits& bounds) {
    InetLimits previous = limits;
    limits = bounds;
    return previous;
}

InetMessageBoxFunction SetInetMessageBoxFunction(InetMessageBoxFunction function) {
    InetMessageBoxFunction previous = messageBox;
    messageBox = function ? function : MessageBoxA;
    return previous;
}

InetHostLookupFunction SetInetHostLookupFunction(InetHostLookupFunction function) {
    InetHostLookupFunction previous = hostLookup;
    hostLookup = function ? function : gethostbyname;
    return previous;
}
