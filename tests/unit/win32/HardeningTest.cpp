// The protected descriptor of the folders that the setup program makes, as
// the platform's own parser reads it.
#include <gtest/gtest.h>
#include <windows.h>
#include <sddl.h>
#include <string>
#include "Hardening.h"

TEST(ProtectedFolder, AdministratorsAndSystemFullUsersReadAndExecuteNothingInherited)
{
    char *text = NULL;
    ASSERT_TRUE(ConvertSecurityDescriptorToStringSecurityDescriptorA(
        (PSECURITY_DESCRIPTOR)ProtectedFolderDescriptor(), SDDL_REVISION_1,
        OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &text,
        NULL));
    EXPECT_EQ("D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)", std::string(text));
    LocalFree(text);
}
