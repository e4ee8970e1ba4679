#pragma once
// A display interface list published in pCMonAPIDummy for as long as this
// object lives: the one place where the USB transports find the program's
// bridge manager. Create it once the HID backend the test wants is in place;
// the manager takes the backend in force when it is constructed.

#include "CMonAPIDummy.h"

namespace pz::test {

class PublishedInterfaceList {
public:
    PublishedInterfaceList() { pCMonAPIDummy = &m_list; }
    // The list clears pCMonAPIDummy itself when it goes.
    ~PublishedInterfaceList() = default;
    PublishedInterfaceList(const PublishedInterfaceList &) = delete;
    PublishedInterfaceList &operator=(const PublishedInterfaceList &) = delete;

    CMonAPIDummy &list() { return m_list; }
    mac_usb_ddcci &bridges() { return m_list.m_USBBridges; }

private:
    CMonAPIDummy m_list;
};

} // namespace pz::test
