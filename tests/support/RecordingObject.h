// A caller's object for tests: members by name, property values kept, every
// call and assignment written to a log in call order, errors raised on demand.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "NamedObject.h"

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
    long number(const std::wstring& name) const; // the property as a number (0 when unset)

    // "Left=1200", "Move(1200,900,6495,4800)", "Left?" for a read; cleared by take().
    std::vector<std::wstring> take();
    int lookups() const { return lookups_; }
    using NamedObject::references;

    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argumentError) override;

private:
    struct Member {
        std::wstring name;
        Method body;
        VARIANT value;
    };
    struct Raised {
        SCODE scode;
        std::wstring description;
        bool deferred;
    };
    // Built before the object, so the base holds the name table (member i has DISPID i + 1).
    struct Members {
        std::vector<Member> items;
        std::vector<latebound::MemberName> names;
    };
    explicit RecordingObject(std::unique_ptr<Members> members);
    ~RecordingObject() override;
    Member* find(const std::wstring& name);
    const Member* find(const std::wstring& name) const;

    int lookups_ = 0;
    std::unique_ptr<Members> table_;
    std::map<DISPID, Raised> raised_;
    std::vector<std::wstring> log_;
};

// A VARIANT as the log writes it: numbers plainly, texts quoted, booleans True/False.
std::wstring describe(const VARIANT& value);

} // namespace testing_support
