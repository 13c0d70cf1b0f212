// The protected descriptor of the folders that the setup program makes, read
// back by the platform's own parser.
#include <gtest/gtest.h>
#include <windows.h>
#include <sddl.h>
#include <string>
#include "Hardening.h"
#include "Scratch.h"

TEST(ProtectedFolder, DescriptorGrantsAdministratorsSystemAndUsersOnly)
{
    PSECURITY_DESCRIPTOR descriptor = (PSECURITY_DESCRIPTOR)ProtectedFolderDescriptor();
    ASSERT_TRUE(IsValidSecurityDescriptor(descriptor));
    char *text = NULL;
    ASSERT_TRUE(ConvertSecurityDescriptorToStringSecurityDescriptorA(
        descriptor, SDDL_REVISION_1,
        OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &text,
        NULL));
    EXPECT_EQ("D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)", std::string(text));
    LocalFree(text);

    Scratch s;
    EXPECT_EQ(1, CreateProtectedFolder(s.Path("made").c_str()));
    EXPECT_TRUE(s.Exists("made"));
    EXPECT_EQ(0, CreateProtectedFolder(s.Path("made").c_str())) << "a folder that is there";
}
