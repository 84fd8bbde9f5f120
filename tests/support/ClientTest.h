// A test of one library class as a client uses it: COM on the test's thread and
// the object created by its class identifier, reached through its vtable.
#pragma once

#include "TestSupport.h"

namespace testing_support {

template <class Interface, const CLSID& Clsid, const IID& Iid>
class ClientTest : public ComTest {
protected:
    void SetUp() override
    {
        object_ = create<Interface>(Clsid, Iid);
        ASSERT_TRUE(object_);
    }

    raii::ComPtr<Interface> object_;
};

} // namespace testing_support
