#include "ringer/win32/name_collection.h"

#include "ringer/win32/dispatch.h"
#include "ringer/win32/ringer_h.h"

#include "common/win32/variant.h"

#include <memory>
#include <new>

namespace ringer::win32 {

namespace {

using Names = std::shared_ptr<const std::vector<std::string>>;

class NameEnumerator final : public common::win32::ComObject<NameEnumerator, IEnumVARIANT> {
public:
    NameEnumerator(Names names, ULONG position) : names_(std::move(names)), position_(position) {}

    static std::span<const InterfaceEntry> Interfaces() {
        static constexpr InterfaceEntry table[] = {
            Entry<NameEnumerator, IEnumVARIANT>(IID_IEnumVARIANT)};
        return table;
    }

    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override {
        if (!items || (count > 1 && !fetched))
            return common::win32::kNullOut;
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
        return common::win32::CreateAs<NameEnumerator>(clone, names_, position_);
    }

private:
    Names names_;
    ULONG position_;
    common::win32::ModuleReference module_;
};

class NameCollection final : public DispatchObject<NameCollection, IRingerCollection> {
public:
    explicit NameCollection(Names names) : names_(std::move(names)) {}

    static std::span<const InterfaceEntry> Interfaces() {
        static constexpr InterfaceEntry table[] = {
            Entry<NameCollection, IRingerCollection>(IID_IRingerCollection),
            Entry<NameCollection, IRingerCollection>(IID_IDispatch),
        };
        return table;
    }

    HRESULT STDMETHODCALLTYPE Item(VARIANT index, VARIANT* item) override {
        if (!item)
            return common::win32::kNullOut;
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
            return common::win32::kNullOut;
        *count = static_cast<long>(names_->size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get__NewEnum(IUnknown** enumerator) override {
        if (!enumerator)
            return common::win32::kNullOut;
        *enumerator = nullptr;
        return common::win32::CreateAndQuery<NameEnumerator>(
            IID_IUnknown, reinterpret_cast<void**>(enumerator), names_, ULONG{0});
    }

private:
    Names names_;
};

} // namespace

HRESULT CreateNameCollection(std::vector<std::string> names, IDispatch** collection) {
    if (!collection)
        return common::win32::kNullOut;
    *collection = nullptr;
    try {
        auto shared = std::make_shared<const std::vector<std::string>>(std::move(names));
        return common::win32::CreateAs<NameCollection>(collection, std::move(shared));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

} // namespace ringer::win32
