#pragma once
// An in-memory stream and an IStream over it. The adapter can leave the
// stream's lifetime to its owner (soReference): COM clients may release the
// adapter whenever they like without freeing the bytes under someone else.
#include <windows.h>
#include <objidl.h>

#include <cstdint>
#include <string>

namespace qs {

class TMemoryStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::string bytes) : FData(std::move(bytes)) {}
    const std::string& Data() const { return FData; }
    uint64_t Position() const { return FPosition; }
    void SetPosition(uint64_t p) { FPosition = p; }
    uint64_t Size() const { return FData.size(); }
    void SetSize(uint64_t n) { FData.resize(size_t(n)); }
    size_t Read(void* buf, size_t n);
    size_t Write(const void* buf, size_t n);

private:
    std::string FData;
    uint64_t FPosition = 0;
};

enum class TStreamOwnership { soReference, soOwned };

class TStreamAdapter final : public IStream {
public:
    TStreamAdapter(TMemoryStream* stream, TStreamOwnership ownership) : FStream(stream), FOwnership(ownership) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ULONG(InterlockedIncrement(&FRefs)); }
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP Read(void* pv, ULONG cb, ULONG* read) override;
    STDMETHODIMP Write(const void* pv, ULONG cb, ULONG* written) override;
    STDMETHODIMP Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPos) override;
    STDMETHODIMP SetSize(ULARGE_INTEGER size) override;
    STDMETHODIMP CopyTo(IStream* to, ULARGE_INTEGER cb, ULARGE_INTEGER* read, ULARGE_INTEGER* written) override;
    STDMETHODIMP Commit(DWORD) override { return S_OK; }
    STDMETHODIMP Revert() override { return STG_E_REVERTED; }
    STDMETHODIMP LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
    STDMETHODIMP UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
    STDMETHODIMP Stat(STATSTG* stat, DWORD flags) override;
    STDMETHODIMP Clone(IStream** out) override {
        if (out) *out = nullptr;
        return E_NOTIMPL;
    }

private:
    ~TStreamAdapter();
    LONG FRefs = 1;
    TMemoryStream* FStream;
    TStreamOwnership FOwnership;
};

}  // namespace qs
