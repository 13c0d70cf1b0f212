// Whether a folder chain can be changed by no one but the accounts the
// elevated programs trust. A folder that another user may rename, delete or
// re-permission can be swapped for a link between any check and any use by
// path; a folder another user may add files to can be planted in.
//
// Trusted are the accounts that could change the system anyway, and the
// account the program runs as:
// - BUILTIN\Administrators, LocalSystem and TrustedInstaller;
// - the token's own user. Elevated by another account's password (a
//   standard user's session), that is the administrator who typed it. With
//   an administrator's own split token it is the logged-on user, whose
//   unelevated programs could change a folder that only that user's
//   account may change: the setup would refuse every folder a user made
//   for themselves (and, under Wine, where every file belongs to the
//   running user, every folder at all), so the user's own account counts
//   as the user's, not another user's. The folders the setup makes are
//   owned by and open to administrators only.
// - in an access list, CREATOR OWNER and OWNER RIGHTS, which stand for the
//   owner, whose trust is checked on its own.
// Deny entries are not credited: a folder counts as open when any untrusted
// entry allows a change, whatever a deny before it takes back. Entries that
// only pass on to what is made inside (inherit-only) do not count for the
// folder itself.
#include "Hardening.h"

#include "TBuffer.h"
#include "TFileSys.h"
#include "BoundedString.h"

// A well-known SID as its identifier authority's last byte and its
// sub-authorities (count first).
struct KnownSid {
    BYTE authority, count;
    DWORD sub[6];
};

static const KnownSid trustedOwners[] = {
    {5, 2, {SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS}},
    {5, 1, {SECURITY_LOCAL_SYSTEM_RID}},
    {5, 6, {80, 956008885, 3418522649u, 1831038044, 1853292631, 2271478464u}},   // TrustedInstaller
};
static const KnownSid ownerStandIns[] = {
    {3, 1, {SECURITY_CREATOR_OWNER_RID}},
    {3, 1, {4}},   // OWNER RIGHTS
};

static int IsKnown(PSID sid, const KnownSid *table, unsigned rows)
{
    const SID *s = (const SID *)sid;
    for (unsigned row = 0; row < rows; row++) {
        const KnownSid &known = table[row];
        int same = s->Revision == SID_REVISION && s->SubAuthorityCount == known.count &&
                   s->IdentifierAuthority.Value[5] == known.authority;
        for (int i = 0; same && i < 5; i++)
            same = s->IdentifierAuthority.Value[i] == 0;
        for (unsigned i = 0; same && i < known.count; i++)
            same = s->SubAuthority[i] == known.sub[i];
        if (same)
            return 1;
    }
    return 0;
}

// The SID of the token's user, in user (TOKEN_USER and its SID); 0 when it
// cannot be read.
#define TOKEN_USER_SIZE (sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE)
static PSID TokenUserSid(BYTE *user)
{
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return 0;
    DWORD size = 0;
    BOOL read = GetTokenInformation(token, TokenUser, user, TOKEN_USER_SIZE, &size);
    CloseHandle(token);
    return read && IsValidSid(((TOKEN_USER *)user)->User.Sid) ? ((TOKEN_USER *)user)->User.Sid : 0;
}

static int TrustedOwner(PSID sid, PSID self)
{
    return sid && IsValidSid(sid) &&
           (IsKnown(sid, trustedOwners, sizeof trustedOwners / sizeof *trustedOwners) ||
            (self && EqualSid(sid, self)));
}

// What no untrusted entry may allow: deleting or renaming the folder (or,
// through the folder, what is in it), changing its access list or owner;
// with addsToo also adding files or folders to it.
static ACCESS_MASK ForbiddenRights(int addsToo)
{
    ACCESS_MASK rights = DELETE | WRITE_DAC | WRITE_OWNER | FILE_DELETE_CHILD | GENERIC_ALL;
    if (addsToo)
        rights |= FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY | GENERIC_WRITE;
    return rights;
}

// 1 when the descriptor's owner is trusted and its access list lets no one
// else do what ForbiddenRights names. A missing (null) list allows
// everyone everything.
static int OnlyTrustedMayChange(PSECURITY_DESCRIPTOR descriptor, int addsToo, PSID self)
{
    PSID owner = 0;
    BOOL defaulted, present = FALSE;
    PACL list = 0;
    if (!GetSecurityDescriptorOwner(descriptor, &owner, &defaulted) || !TrustedOwner(owner, self) ||
        !GetSecurityDescriptorDacl(descriptor, &present, &list, &defaulted) || !present || !list ||
        !IsValidAcl(list))
        return 0;
    ACCESS_MASK forbidden = ForbiddenRights(addsToo);
    for (DWORD i = 0; i < list->AceCount; i++) {
        ACE_HEADER *entry;
        if (!GetAce(list, i, (void **)&entry))
            return 0;
        if (entry->AceFlags & INHERIT_ONLY_ACE)
            continue;
        BYTE type = entry->AceType;
        int allows = type == ACCESS_ALLOWED_ACE_TYPE || type == ACCESS_ALLOWED_CALLBACK_ACE_TYPE ||
                     type == ACCESS_ALLOWED_COMPOUND_ACE_TYPE ||
                     type == ACCESS_ALLOWED_OBJECT_ACE_TYPE ||
                     type == ACCESS_ALLOWED_CALLBACK_OBJECT_ACE_TYPE;
        // Every allowing type keeps its mask right after the header.
        if (!allows || !(((ACCESS_ALLOWED_ACE *)entry)->Mask & forbidden))
            continue;
        // Only the plain kinds name their SID where it can be read; an
        // entry of another kind is taken as another user's.
        PSID sid = type == ACCESS_ALLOWED_ACE_TYPE || type == ACCESS_ALLOWED_CALLBACK_ACE_TYPE
                       ? (PSID) & ((ACCESS_ALLOWED_ACE *)entry)->SidStart
                       : 0;
        if (!sid || !IsValidSid(sid) ||
            !(TrustedOwner(sid, self) ||
              IsKnown(sid, ownerStandIns, sizeof ownerStandIns / sizeof *ownerStandIns)))
            return 0;
    }
    return 1;
}

// 1 when folder (a component of a chain, reached through no link) is a
// folder that only trusted accounts may change; on a drive's root, also when
// its volume keeps access lists at all (FAT and exFAT do not).
static int ComponentProtected(const char *folder, int root, int addsToo, PSID self)
{
    HANDLE handle = CreateFileA(folder, READ_CONTROL | FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0,
                                OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, 0);
    if (handle == INVALID_HANDLE_VALUE)
        return 0;
    BY_HANDLE_FILE_INFORMATION info;
    DWORD flags = 0, size = 0;
    int safe = GetFileInformationByHandle(handle, &info) &&
               (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
               !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
               HandleReachesPath(handle, folder) &&
               (!root || (GetVolumeInformationByHandleW(handle, 0, 0, 0, 0, &flags, 0, 0) &&
                          (flags & FILE_PERSISTENT_ACLS)));
    const SECURITY_INFORMATION parts = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    if (safe) {
        GetKernelObjectSecurity(handle, parts, 0, 0, &size);
        safe = size > 0 && size < 0x10000;
    }
    if (safe) {
        TBuffer descriptor(size);
        safe = GetKernelObjectSecurity(handle, parts, descriptor.data, size, &size) &&
               OnlyTrustedMayChange(descriptor.data, addsToo, self);
    }
    CloseHandle(handle);
    return safe;
}

int FolderChainProtected(const char *path, int addsToo, char *failed)
{
    if (failed)
        failed[0] = '\0';
    TBuffer folder(FS_PATH_LENGTH + 1);
    if (!CopyBounded(folder, path, FS_PATH_LENGTH + 1))
        return 0;
    unsigned length = LengthBounded(folder, FS_PATH_LENGTH + 1);
    while (length > 3 && folder[length - 1] == '\\')
        folder[--length] = '\0';
    if (length < 3 || folder[1] != ':' || folder[2] != '\\')
        return 0;
    // Aligned as the token's structure needs.
    DWORD_PTR user[TOKEN_USER_SIZE / sizeof(DWORD_PTR) + 1];
    PSID self = TokenUserSid((BYTE *)user);
    // The root ("X:\"), then each folder down to path itself.
    for (unsigned end = 3; end <= length; end++) {
        if (end > 3 && end < length && folder[end] != '\\')
            continue;
        char kept = folder[end];
        folder[end] = '\0';
        int safe = ComponentProtected(folder, end == 3, addsToo && end == length, self);
        if (!safe && failed)
            CopyBounded(failed, folder, FS_PATH_LENGTH + 1);
        folder[end] = kept;
        if (!safe)
            return 0;
    }
    return 1;
}
