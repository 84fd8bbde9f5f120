// A caller's object for tests: members by name, property values kept, every
// call and assignment written to a log in call order, errors raised on demand.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ErrorNumbers.h"
#include "NamedObject.h"
#include "Raii.h"

namespace testing_support {

class RecordingObject final : public latebound::NamedObject {
public:
    // Arguments in call order; the handler may fill the result.
    using Method = std::function<HRESULT(RecordingObject& self, const std::vector<VARIANT>& args, VARIANT* result)>;

    // Each name is a property (get and put) unless a method is set for it.
    static RecordingObject* create(const std::vector<std::wstring>& members);

    void method(const std::wstring& name, Method body);
    // The next call or access of `name` raises this error (through EXCEPINFO, filled later when deferred).
    void raise(const std::wstring& name, SCODE scode, const std::wstring& description, bool deferred = false);
    void set(const std::wstring& name, const VARIANT& value);
    void set(const std::wstring& name, long value);

    // "Left=1200", "Move(1200,900,6495,4800)", "Left?" for a read; cleared by take().
    std::vector<std::wstring> take() { return std::exchange(log_, {}); }
    using NamedObject::references;

    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argumentError) override;

private:
    struct Member {
        std::wstring name;
        Method body;
        raii::UniqueVariant value;
        std::optional<std::pair<automation::RuntimeError, bool /*deferred*/>> raised;
    };
    // Built before the object, so the base holds the name table (member i has DISPID i + 1).
    struct Members {
        std::vector<Member> items;
        std::vector<latebound::MemberName> names;
    };
    explicit RecordingObject(std::unique_ptr<Members> members);
    Member* find(const std::wstring& name);
    HRESULT answer(Member& member, WORD flags, const DISPPARAMS* params, VARIANT* result);

    std::unique_ptr<Members> table_;
    std::vector<std::wstring> log_;
};

} // namespace testing_support
