#pragma once
// The dial-up control port over Ringer: created by its ProgID, called late-bound by member
// name through IDispatch, its events received through its connection point by a sink of
// ours, and its one property (RaiseErrors) kept in a property bag of ours, as a container
// keeps the properties of a control on its form.
//
// A control that cannot be created (Ringer not registered) leaves the port in place: every
// call then fails with the run-time error kControlNotCreated.
#include "vigil/engine/dial_up_control.h"

#include "common/win32/com_ptr.h"

#include <windows.h>

#include <ocidl.h>

#include <map>
#include <optional>

namespace vigil::engine::win32 {

class RingerDialUpControl final : public DialUpControl {
public:
    static constexpr wchar_t kProgId[] = L"Ringer.DialUpNetworking";

    // COM must be initialised (apartment-threaded) on this, the user-interface thread. With
    // a saved RaiseErrors the control loads it from the bag, otherwise it starts new.
    explicit RingerDialUpControl(std::optional<bool> savedRaiseErrors = std::nullopt,
                                 const wchar_t* progId = kProgId);
    ~RingerDialUpControl() override;
    RingerDialUpControl(const RingerDialUpControl&) = delete;
    RingerDialUpControl& operator=(const RingerDialUpControl&) = delete;

    // Whether the control exists, and why not when it does not.
    bool Created() const { return static_cast<bool>(control_); }
    HRESULT CreationResult() const { return created_; }

    // Has the control save its properties into the bag and reads RaiseErrors back from it
    // (absent from the bag: the default, False).
    bool SaveRaiseErrors();

    std::vector<std::string> Connections() override;
    int ConnectionCount() override;
    bool Active(const std::string& p_sName) override;
    void Connect(const std::string& p_sName) override;
    void Disconnect(const std::string& p_sName) override;
    bool RaiseErrors() override;
    void SetRaiseErrors(bool p_bRaiseErrors) override;

private:
    class EventSink;
    class PropertyBag;
    friend class EventSink;

    void OnEvent(DISPID id, DISPPARAMS* params);

    common::ComPtr<IDispatch> control_;
    HRESULT created_ = E_FAIL;
    common::ComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
    common::ComPtr<EventSink> sink_; // the control may hold it longer than we do
    common::ComPtr<PropertyBag> bag_;
};

} // namespace vigil::engine::win32
