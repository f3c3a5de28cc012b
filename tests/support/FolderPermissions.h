#pragma once

#include <QTest>

// Tests of a folder the operator may not read or write. Windows folders have no such permission bits
// (Qt sets only the read-only attribute, which Windows ignores on a folder), so there they are skipped.
#ifdef Q_OS_WIN
#define SKIP_WITHOUT_FOLDER_PERMISSIONS() QSKIP("Windows folders have no permission bits to take access away with")

class WithoutFileAccessOverride
{
public:
    WithoutFileAccessOverride() { } // nothing to drop
};

inline bool runningAsRoot()
{
    return false;
}
#else
#define SKIP_WITHOUT_FOLDER_PERMISSIONS()

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

inline bool runningAsRoot()
{
    return ::geteuid() == 0;
}

// Root reads and writes files whatever their permissions say, because of two capabilities. While an
// object of this class lives, the calling thread holds neither in its effective set, so that a folder
// made read-only or inaccessible is refused to this test as it would be to the operator. Without the
// capabilities (an ordinary user) there is nothing to drop and nothing changes.
class WithoutFileAccessOverride
{
public:
    WithoutFileAccessOverride()
    {
        if (::syscall(SYS_capget, &m_header, m_saved) != 0) {
            return;
        }
        __user_cap_data_struct reduced[_LINUX_CAPABILITY_U32S_3];
        for (int i = 0; i < _LINUX_CAPABILITY_U32S_3; ++i) {
            reduced[i] = m_saved[i];
        }
        for (const int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH}) {
            reduced[CAP_TO_INDEX(capability)].effective &= ~CAP_TO_MASK(capability);
        }
        m_dropped = ::syscall(SYS_capset, &m_header, reduced) == 0;
    }

    ~WithoutFileAccessOverride()
    {
        if (m_dropped) {
            ::syscall(SYS_capset, &m_header, m_saved);
        }
    }

    WithoutFileAccessOverride(const WithoutFileAccessOverride&) = delete;
    WithoutFileAccessOverride& operator=(const WithoutFileAccessOverride&) = delete;

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[_LINUX_CAPABILITY_U32S_3]{};
    bool m_dropped = false;
};
#endif
