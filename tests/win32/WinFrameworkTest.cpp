// Our thin Win32 framework when a handler fails with an exception: the modal loop and a
// subclassed control carry on, and no message is handled twice. What its GDI owners put back,
// and the COM object base: what it answers for interfaces it was not given, and when it
// deletes the object.

#include "SkinTestSupport.h"

#include "app/resource.h"
#include "win/ComObject.h"
#include "win/Control.h"
#include "win/Dialog.h"
#include "win/Handles.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <objidl.h>

#include <stdexcept>

namespace {

const UINT finishMessage = WM_APP + 1;

// A key whose command fails with an exception, then a message that ends the run.
class FailingKeyDialog : public Dialog {
public:
    FailingKeyDialog() : Dialog(IDD_SKINBOX) {}
    int failed = 0;
    int finished = 0;

protected:
    bool onInitDialog() override
    {
        PostMessageA(hwnd(), WM_KEYDOWN, 'X', 0);
        PostMessageA(hwnd(), finishMessage, 0, 0);
        return true;
    }
    bool preTranslateMessage(MSG& msg) override
    {
        if (msg.message == WM_KEYDOWN && msg.wParam == 'X') {
            ++failed;
            throw std::runtime_error("the command failed");
        }
        if (msg.message == finishMessage) {
            ++finished;
            endModal(7);
            return true;
        }
        return false;
    }
};

TEST(DialogModalLoop, AKeyCommandThatThrowsEndsAndTheLoopGoesOn)
{
    FailingKeyDialog dialog;
    int result = -2;
    EXPECT_NO_THROW(result = dialog.runModal(nullptr));
    EXPECT_EQ(result, 7);
    EXPECT_EQ(dialog.failed, 1);
    EXPECT_EQ(dialog.finished, 1);
}

// A list box whose object fails while adding a line, at a chosen moment.
class FailingList : public Control {
public:
    enum class Fail { never, beforeTheList, afterTheList, afterAnInnerMessage };
    Fail fail = Fail::never;

protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != LB_ADDSTRING)
            return defaultProc(message, wParam, lParam);
        switch (fail) {
        case Fail::never:
            return defaultProc(message, wParam, lParam);
        case Fail::beforeTheList:
            throw std::runtime_error("before");
        case Fail::afterTheList:
            defaultProc(message, wParam, lParam);
            throw std::runtime_error("after");
        case Fail::afterAnInnerMessage:
            // A message of its own on the way: its handling is not this message's.
            SendMessageA(hwnd(), LB_GETCOUNT, 0, 0);
            throw std::runtime_error("after another message");
        }
        return 0;
    }
};

TEST(ControlSubclass, AMessageReachesTheControlOnceWhateverItsObjectThrows)
{
    for (FailingList::Fail fail : {FailingList::Fail::never, FailingList::Fail::beforeTheList,
                                   FailingList::Fail::afterTheList, FailingList::Fail::afterAnInnerMessage}) {
        HWND list = CreateWindowExA(0, "LISTBOX", "", WS_POPUP | LBS_HASSTRINGS, 0, 0, 100, 100, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(list, nullptr);
        FailingList control;
        control.attach(list, true);
        control.fail = fail;
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("line"));
        EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 1) << static_cast<int>(fail);
        // The control still answers through its object afterwards.
        control.fail = FailingList::Fail::never;
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("next"));
        EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 2) << static_cast<int>(fail);
        DestroyWindow(list);
    }
}

// The drawing steps select pens, brushes and fonts one inside another: each owner puts back
// what the DC held before it, and one given no object leaves the DC alone.
TEST(SelectedObject, PutsBackTheObjectItDisplaced)
{
    skintest::Canvas canvas(4, 4);
    const HDC dc = canvas.dc();
    const UniqueGdiObject pen(CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
    const UniqueGdiObject brush(CreateSolidBrush(RGB(4, 5, 6)));
    const HGDIOBJ font = GetStockObject(ANSI_FIXED_FONT);
    ASSERT_TRUE(pen && brush && font);
    // Inside each owner a second one of the same kind comes and goes.
    struct Row {
        const char* name;
        UINT type;
        HGDIOBJ object;
        HGDIOBJ inner;
    };
    const Row rows[] = {
        {"pen", OBJ_PEN, pen.get(), GetStockObject(WHITE_PEN)},
        {"brush", OBJ_BRUSH, brush.get(), GetStockObject(GRAY_BRUSH)},
        {"font", OBJ_FONT, font, GetStockObject(SYSTEM_FIXED_FONT)},
        {"no pen", OBJ_PEN, nullptr, GetStockObject(WHITE_PEN)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const HGDIOBJ before = GetCurrentObject(dc, row.type);
        ASSERT_NE(before, row.object);
        ASSERT_NE(before, row.inner);
        const HGDIOBJ during = row.object ? row.object : before;
        {
            const SelectedObject selected(dc, row.object);
            EXPECT_EQ(GetCurrentObject(dc, row.type), during);
            {
                const SelectedObject inner(dc, row.inner);
                EXPECT_EQ(GetCurrentObject(dc, row.type), row.inner);
            }
            EXPECT_EQ(GetCurrentObject(dc, row.type), during);
        }
        EXPECT_EQ(GetCurrentObject(dc, row.type), before);
    }
}

// Two entries, the second also answering for its base; the flag tells when it is deleted.
class CountedObject final : public ComObject<IClassFactory, WithBases<IPersistStream, IPersist>> {
public:
    explicit CountedObject(bool& deleted) : deleted_(deleted) {}

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE Load(IStream*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Save(IStream*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }

private:
    ~CountedObject() override { deleted_ = true; }
    bool& deleted_;
};

TEST(ComObjectBase, AnswersOnlyItsListAndDeletesAtTheLastRelease)
{
    bool deleted = false;
    auto* object = new CountedObject(deleted);
    IPersistStream* persistStream = object;
    struct Row {
        const char* what;
        const IID* iid;
        HRESULT expected;
        void* pointer;
    } rows[] = {
        {"a base of a listed entry", &IID_IPersist, S_OK, persistStream},
        {"not listed", &IID_IStream, E_NOINTERFACE, nullptr},
        {"a base no entry names", &IID_ISequentialStream, E_NOINTERFACE, nullptr},
    };
    ULONG held = 1;
    for (const Row& row : rows) {
        void* out = reinterpret_cast<void*>(0x1234);
        EXPECT_EQ(object->QueryInterface(*row.iid, &out), row.expected) << row.what;
        EXPECT_EQ(out, row.pointer) << row.what;
        if (row.expected == S_OK)
            ++held;
    }
    // Every reference handed out is one more to give back; the last one deletes.
    while (held > 1) {
        EXPECT_EQ(object->Release(), --held);
        EXPECT_FALSE(deleted);
    }
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_TRUE(deleted);
}

} // namespace
