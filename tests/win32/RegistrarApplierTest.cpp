// The registrar's registry side on a scratch key of the current user: value types, marks,
// removal of trees and leaves, and stopping at the first failure.

#include "ShellTestSupport.h"

#include "shellext/RegistrarApplier_win.h"

#include <gtest/gtest.h>

namespace {

const char scratch[] = "Software\\TesselRegistrarTest";

std::string dumpScratch()
{
    std::string out;
    shelltest::dumpKey(HKEY_CURRENT_USER, scratch, "T", out);
    return out;
}

bool scratchKeyExists(const std::string& sub)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(scratch) + "\\" + sub).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// The scratch key goes by the system's own removal, so that a fault of the removal under
// test cannot hang the fixture.
void removeScratch()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\TesselRegistrarTest");
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\TesselRegistrarTest");
}

class RegistrarApplier : public ::testing::Test {
protected:
    void SetUp() override { removeScratch(); }
    void TearDown() override { removeScratch(); }

    HRESULT run(const std::string& body, RegistrarMode mode)
    {
        return runRegistrarScript("HKCU { NoRemove Software { NoRemove TesselRegistrarTest { " + body + " } } }",
                                  {{"MODULE", "C:\\m d\\T.dll"}}, mode);
    }
};

TEST_F(RegistrarApplier, WritesEveryValueType)
{
    ASSERT_EQ(run("K = s '%MODULE%' { val e = e '%%SystemRoot%%' val m = m 'a\\0b' val d = d 0x01020304 "
                  "val b = b '00ff10' }",
                  RegistrarMode::Register),
              S_OK);
    const std::string expected =
        "[T]\n"
        "[T\\K]\n"
        "  \"\" type 1: 43 3A 5C 6D 20 64 5C 54 2E 64 6C 6C 00\n"
        "  \"b\" type 3: 00 FF 10\n"
        "  \"d\" type 4: 04 03 02 01\n"
        "  \"e\" type 2: 25 53 79 73 74 65 6D 52 6F 6F 74 25 00\n"
        "  \"m\" type 7: 61 00 62 00 00\n";
    EXPECT_EQ(dumpScratch(), expected);
    ASSERT_EQ(run("K = s '%MODULE%' { val e = e '' }", RegistrarMode::Remove), S_OK);
    EXPECT_EQ(dumpScratch(), "[T]\n");
}

TEST_F(RegistrarApplier, MarksInBothModes)
{
    const std::string script = "NoRemove Keep { val v = s 'x' ForceRemove Force { Sub } Plain { Leaf } Delete Old }";
    // Leftovers: a stale subkey under the ForceRemove key, a key to be deleted, a foreign
    // value and subkey under NoRemove.
    ASSERT_EQ(run("Keep { val own = s 'o' Force { Stale } Old { Deeper { Deepest } } Mine }", RegistrarMode::Register),
              S_OK);
    ASSERT_EQ(run(script, RegistrarMode::Register), S_OK);
    EXPECT_FALSE(scratchKeyExists("Keep\\Force\\Stale"));
    EXPECT_TRUE(scratchKeyExists("Keep\\Force\\Sub"));
    EXPECT_TRUE(scratchKeyExists("Keep\\Plain\\Leaf"));
    EXPECT_FALSE(scratchKeyExists("Keep\\Old"));
    EXPECT_TRUE(scratchKeyExists("Keep\\Mine"));
    const std::string registered = dumpScratch();
    ASSERT_EQ(run(script, RegistrarMode::Register), S_OK);
    EXPECT_EQ(dumpScratch(), registered) << "registering twice";

    ASSERT_EQ(run(script, RegistrarMode::Remove), S_OK);
    EXPECT_TRUE(scratchKeyExists("Keep"));
    EXPECT_TRUE(scratchKeyExists("Keep\\Mine"));
    EXPECT_FALSE(scratchKeyExists("Keep\\Force"));
    EXPECT_FALSE(scratchKeyExists("Keep\\Plain"));
    const std::string left = dumpScratch();
    EXPECT_EQ(left.find("\"v\""), std::string::npos) << left;
    EXPECT_NE(left.find("\"own\""), std::string::npos) << left;
    // Removing what is already gone succeeds.
    EXPECT_EQ(run(script, RegistrarMode::Remove), S_OK);
}

TEST_F(RegistrarApplier, DeleteTreeHandlesDepthAndLongNames)
{
    // Built key by key relative to the last, so that no full path is longer than a name.
    HKEY parent = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(scratch) + "\\Top").c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &parent, nullptr),
              ERROR_SUCCESS);
    for (int level = 0; level < 24; ++level) {
        for (int sibling = 0; sibling < 3; ++sibling) {
            const std::string name = std::string(250, static_cast<char>('a' + sibling)) + std::to_string(level);
            HKEY child = nullptr;
            ASSERT_EQ(RegCreateKeyExA(parent, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr),
                      ERROR_SUCCESS);
            RegSetValueExA(child, "v", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
            if (sibling < 2) {
                RegCloseKey(child);
            } else {
                RegCloseKey(parent);
                parent = child;
            }
        }
    }
    RegCloseKey(parent);
    EXPECT_EQ(deleteKeyTree(HKEY_CURRENT_USER, std::string(scratch) + "\\Top"), ERROR_SUCCESS);
    EXPECT_FALSE(scratchKeyExists("Top"));
    EXPECT_EQ(deleteKeyTree(HKEY_CURRENT_USER, std::string(scratch) + "\\Top"), ERROR_SUCCESS) << "already gone";
}

// Runs the call on a thread of its own and waits a while: a removal that goes round for
// ever must fail the test, not hang it.
template <typename Call>
bool finishesWithin(DWORD milliseconds, Call call)
{
    struct Job {
        Call call;
        static DWORD WINAPI run(LPVOID self)
        {
            static_cast<Job*>(self)->call();
            return 0;
        }
    };
    auto* job = new Job{call};
    HANDLE thread = CreateThread(nullptr, 0, &Job::run, job, 0, nullptr);
    if (!thread)
        return false;
    const bool done = WaitForSingleObject(thread, milliseconds) == WAIT_OBJECT_0;
    CloseHandle(thread);
    if (done)
        delete job;   // a thread still running keeps its job
    return done;
}

// Subkeys whose names the ANSI code page cannot show (Thai letters are in none of the
// code pages the program is tested in), at several depths.
void createKeysOutsideTheCodePage(const std::wstring& under)
{
    const std::wstring base = std::wstring(L"Software\\TesselRegistrarTest\\") + under;
    for (const wchar_t* sub : {L"\\\x0E01\x0E02", L"\\\x0E01\x0E02\\\x0E03", L"\\plain\\\x0E04", L"\\plain"}) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (base + sub).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &key, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
}

TEST_F(RegistrarApplier, TreesWithNamesOutsideTheCodePageAreRemoved)
{
    createKeysOutsideTheCodePage(L"Top");
    LONG status = ERROR_IO_PENDING;
    ASSERT_TRUE(finishesWithin(20000, [&] { status = deleteKeyTree(HKEY_CURRENT_USER, std::string(scratch) + "\\Top"); }))
        << "the removal does not end";
    EXPECT_EQ(status, ERROR_SUCCESS);
    EXPECT_FALSE(scratchKeyExists("Top"));

    // The class key's ForceRemove at every start of the program goes the same way.
    createKeysOutsideTheCodePage(L"Forced");
    HRESULT hr = E_PENDING;
    ASSERT_TRUE(finishesWithin(20000, [&] { hr = run("ForceRemove Forced { New }", RegistrarMode::Register); }))
        << "registering does not end";
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(dumpScratch(), "[T]\n[T\\Forced]\n[T\\Forced\\New]\n");
}

TEST_F(RegistrarApplier, FailuresAreReported)
{
    EXPECT_EQ(runRegistrarScript("HKCU { 'unterminated }", {}, RegistrarMode::Register), E_UNEXPECTED);
    EXPECT_EQ(runRegistrarScript("HKCU { A = s '%NOPE%' }", {}, RegistrarMode::Register), E_UNEXPECTED);
    // A value below a key that cannot be created: a key may not be created under a
    // volatile key unless it is volatile too, and the applier stops there.
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(scratch) + "\\Volatile").c_str(), 0, nullptr,
                              REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    const HRESULT hr = run("Volatile { Child = s 'x' } After", RegistrarMode::Register);
    EXPECT_TRUE(FAILED(hr)) << std::hex << hr;
    EXPECT_FALSE(scratchKeyExists("After")) << "nothing runs after a failed step";
}

// The registry as an ordinary user meets a per-machine class key: the named key refuses
// to open for deletion, and to be deleted.
class RefusingKeys final : public RegistryKeys {
public:
    explicit RefusingKeys(std::wstring refused) : refused_(std::move(refused)) {}
    LONG open(HKEY parent, const std::wstring& path, REGSAM access, UniqueHKey& key) const override
    {
        if (path == refused_ && (access & DELETE))
            return ERROR_ACCESS_DENIED;
        return RegistryKeys::open(parent, path, access, key);
    }
    LONG remove(HKEY parent, const std::wstring& path) const override
    {
        return path == refused_ ? ERROR_ACCESS_DENIED : RegistryKeys::remove(parent, path);
    }

private:
    std::wstring refused_;
};

TEST_F(RegistrarApplier, ATreeThatCannotGoWholeStaysWhole)
{
    // Subkeys are enumerated in name order: InprocServer32 comes before ProgID.
    ASSERT_EQ(run("Class = s 'c' { InprocServer32 = s 'm' { val ThreadingModel = s 'Apartment' } "
                  "ProgID = s 'p' { Deep = s 'd' } }",
                  RegistrarMode::Register),
              S_OK);
    const std::string before = dumpScratch();
    for (const wchar_t* refused : {L"ProgID", L"Deep", L"InprocServer32", L"Software\\TesselRegistrarTest\\Class"}) {
        EXPECT_EQ(deleteKeyTree(HKEY_CURRENT_USER, std::string(scratch) + "\\Class", RefusingKeys(refused)),
                  ERROR_ACCESS_DENIED);
        EXPECT_EQ(dumpScratch(), before) << "refused: " << testsupport::ansiText(refused);
    }
}

}  // namespace
