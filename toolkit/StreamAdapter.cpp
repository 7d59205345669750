#include "StreamAdapter.h"

#include <algorithm>
#include <cstring>

namespace qs {

size_t TMemoryStream::Read(void* buf, size_t n) {
    if (FPosition >= FData.size()) return 0;
    size_t k = std::min<uint64_t>(n, FData.size() - FPosition);
    std::memcpy(buf, FData.data() + FPosition, k);
    FPosition += k;
    return k;
}

size_t TMemoryStream::Write(const void* buf, size_t n) {
    if (FPosition + n > FData.size()) FData.resize(size_t(FPosition + n));
    std::memcpy(&FData[size_t(FPosition)], buf, n);
    FPosition += n;
    return n;
}

TStreamAdapter::~TStreamAdapter() {
    if (FOwnership == TStreamOwnership::soOwned) delete FStream;
}

STDMETHODIMP TStreamAdapter::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_ISequentialStream || riid == IID_IStream) {
        *out = static_cast<IStream*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) TStreamAdapter::Release() {
    LONG n = InterlockedDecrement(&FRefs);
    if (n == 0) delete this;
    return ULONG(n);
}

STDMETHODIMP TStreamAdapter::Read(void* pv, ULONG cb, ULONG* read) {
    if (!pv) return STG_E_INVALIDPOINTER;
    ULONG n = ULONG(FStream->Read(pv, cb));
    if (read) *read = n;
    return n == cb ? S_OK : S_FALSE;
}

STDMETHODIMP TStreamAdapter::Write(const void* pv, ULONG cb, ULONG* written) {
    if (!pv) return STG_E_INVALIDPOINTER;
    ULONG n = ULONG(FStream->Write(pv, cb));
    if (written) *written = n;
    return S_OK;
}

STDMETHODIMP TStreamAdapter::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPos) {
    int64_t base;
    switch (origin) {
        case STREAM_SEEK_SET: base = 0; break;
        case STREAM_SEEK_CUR: base = int64_t(FStream->Position()); break;
        case STREAM_SEEK_END: base = int64_t(FStream->Size()); break;
        default: return STG_E_INVALIDFUNCTION;
    }
    int64_t p = base + move.QuadPart;
    if (p < 0) return STG_E_INVALIDFUNCTION;
    FStream->SetPosition(uint64_t(p));
    if (newPos) newPos->QuadPart = uint64_t(p);
    return S_OK;
}

STDMETHODIMP TStreamAdapter::SetSize(ULARGE_INTEGER size) {
    FStream->SetSize(size.QuadPart);
    return S_OK;
}

STDMETHODIMP TStreamAdapter::CopyTo(IStream* to, ULARGE_INTEGER cb, ULARGE_INTEGER* read, ULARGE_INTEGER* written) {
    if (!to) return STG_E_INVALIDPOINTER;
    uint64_t total = 0, out = 0;
    char buf[4096];
    while (total < cb.QuadPart) {
        size_t want = size_t(std::min<uint64_t>(sizeof buf, cb.QuadPart - total));
        size_t got = FStream->Read(buf, want);
        if (got == 0) break;
        total += got;
        ULONG w = 0;
        HRESULT hr = to->Write(buf, ULONG(got), &w);
        out += w;
        if (FAILED(hr)) return hr;
    }
    if (read) read->QuadPart = total;
    if (written) written->QuadPart = out;
    return S_OK;
}

STDMETHODIMP TStreamAdapter::Stat(STATSTG* stat, DWORD) {
    if (!stat) return STG_E_INVALIDPOINTER;
    ZeroMemory(stat, sizeof *stat);
    stat->type = STGTY_STREAM;
    stat->cbSize.QuadPart = FStream->Size();
    return S_OK;
}

}  // namespace qs
