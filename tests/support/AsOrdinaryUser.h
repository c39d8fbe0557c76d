// Root passes every permission check: while an AsOrdinaryUser lives, the effective user is "nobody"
// if the test runs as root; otherwise nothing changes.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

class AsOrdinaryUser
{
public:
    AsOrdinaryUser() : m_switched(::geteuid() == 0 && ::seteuid(65534) == 0) {}
    ~AsOrdinaryUser()
    {
        if (m_switched && ::seteuid(0) != 0)
            ADD_FAILURE() << "could not return to root";
    }
    AsOrdinaryUser(const AsOrdinaryUser &) = delete;
    AsOrdinaryUser &operator=(const AsOrdinaryUser &) = delete;
    // False when still root: permission tests cannot run.
    bool ordinary() const { return ::geteuid() != 0; }

private:
    bool m_switched;
};
