#include "ringer/win32/name_collection.h"

#include "ringer/win32/dispatch.h"
#include "ringer/win32/ringer_h.h"

#include "common/win32/variant.h"

#include <memory>
#include <new>

namespace ringer::win32 {

namespace {

using Names = std::shared_ptr<const std::vector<std::string>>;

class NameEnumerator final : public SingleInterfaceObject<IEnumVARIANT> {
public:
    NameEnumerator(Names names, ULONG position) : names_(std::move(names)), position_(position) {}

    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override {
        if (!items || (count > 1 && !fetched))
            return E_POINTER;
        ULONG done = 0;
        for (; done < count && position_ < names_->size(); ++done, ++position_) {
            VariantInit(&items[done]);
            V_VT(&items[done]) = VT_BSTR;
            V_BSTR(&items[done]) = common::Bstr::FromAnsi((*names_)[position_]).Detach();
        }
        if (fetched)
            *fetched = done;
        return done == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        ULONG left = static_cast<ULONG>(names_->size()) - position_;
        position_ += count < left ? count : left;
        return count <= left ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        position_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** clone) override {
        if (!clone)
            return E_POINTER;
        *clone = new (std::nothrow) NameEnumerator(names_, position_);
        return *clone ? S_OK : E_OUTOFMEMORY;
    }

private:
    Names names_;
    ULONG position_;
    ModuleReference module_;
};

class NameCollection final : public DispatchObject<IRingerCollection> {
public:
    explicit NameCollection(Names names)
        : DispatchObject<IRingerCollection>(IID_IRingerCollection), names_(std::move(names)) {}

    HRESULT STDMETHODCALLTYPE Item(VARIANT index, VARIANT* item) override {
        if (!item)
            return E_POINTER;
        VariantInit(item);
        common::Variant position;
        if (FAILED(VariantChangeType(position.Get(), &index, 0, VT_I4)))
            return Raise({13, "Ringer", "Type mismatch"});
        LONG i = V_I4(position.Get());
        if (i < 1 || static_cast<std::size_t>(i) > names_->size())
            return Raise({9, "Ringer", "Subscript out of range"});
        V_VT(item) = VT_BSTR;
        V_BSTR(item) = common::Bstr::FromAnsi((*names_)[i - 1]).Detach();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Count(long* count) override {
        if (!count)
            return E_POINTER;
        *count = static_cast<long>(names_->size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get__NewEnum(IUnknown** enumerator) override {
        if (!enumerator)
            return E_POINTER;
        *enumerator = new (std::nothrow) NameEnumerator(names_, 0);
        return *enumerator ? S_OK : E_OUTOFMEMORY;
    }

private:
    Names names_;
};

} // namespace

HRESULT CreateNameCollection(std::vector<std::string> names, IDispatch** collection) {
    if (!collection)
        return E_POINTER;
    try {
        auto shared = std::make_shared<const std::vector<std::string>>(std::move(names));
        *collection = new NameCollection(std::move(shared));
        return S_OK;
    } catch (const std::bad_alloc&) {
        *collection = nullptr;
        return E_OUTOFMEMORY;
    }
}

} // namespace ringer::win32
