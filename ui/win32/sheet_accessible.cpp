#include "ui/win32/sheet_accessible.h"

#include "ui/win32/window_binding.h"

namespace veltrano::ui::win32 {

namespace {

// oleacc, loaded at the first reader's question and kept: it is not among
// the program's imports, so a start without a reader never loads it.
HMODULE oleacc() {
    static const HMODULE module = LoadLibraryW(L"oleacc.dll");
    return module;
}

template <class Function> Function oleacc_function(const char* name) {
    HMODULE module = oleacc();
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

class SheetAccessible final : public IAccessible {
public:
    explicit SheetAccessible(HWND hwnd) : hwnd_(hwnd) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch: readers call the methods directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent) return E_POINTER;
        *parent = nullptr;
        if (!sheet()) return CO_E_OBJNOTCONNECTED;
        auto create = oleacc_function<LPFNCREATESTDACCESSIBLEOBJECT>("CreateStdAccessibleObject");
        if (!create) return S_FALSE;
        return create(hwnd_, OBJID_WINDOW, __uuidof(IDispatch), reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!count) return E_POINTER;
        const Sheet* s = sheet();
        if (!s) return CO_E_OBJNOTCONNECTED;
        *count = static_cast<long>(s->size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** child) override {
        // Every child is a simple element, known by its number.
        if (!child) return E_POINTER;
        *child = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!name) return E_POINTER;
        *name = nullptr;
        const SheetItem* item = nullptr;
        if (HRESULT hr = find(child, item); hr != S_OK) return hr;
        // The sheet itself has no name of its own: its items say it all.
        if (!item || item->text.empty()) return S_FALSE;
        *name = SysAllocStringLen(item->text.data(), static_cast<UINT>(item->text.size()));
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* value) override { return nothing(value); }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* text) override { return nothing(text); }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!role) return E_POINTER;
        VariantInit(role);
        const SheetItem* item = nullptr;
        if (HRESULT hr = find(child, item); hr != S_OK) return hr;
        role->vt = VT_I4;
        role->lVal = !item          ? ROLE_SYSTEM_CLIENT
                     : item->picture ? ROLE_SYSTEM_GRAPHIC
                     : item->frame   ? ROLE_SYSTEM_GROUPING
                                     : ROLE_SYSTEM_STATICTEXT;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!state) return E_POINTER;
        VariantInit(state);
        const SheetItem* item = nullptr;
        if (HRESULT hr = find(child, item); hr != S_OK) return hr;
        state->vt = VT_I4;
        state->lVal = STATE_SYSTEM_READONLY;
        if (!IsWindowVisible(hwnd_) || (item && !item->visible)) state->lVal |= STATE_SYSTEM_INVISIBLE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override { return nothing(help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        if (topic) *topic = 0;
        return nothing(file);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* keys) override { return nothing(keys); }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override { return empty(focus); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override { return empty(selection); }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT, BSTR* action) override { return nothing(action); }
    HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
        if (!left || !top || !width || !height) return E_POINTER;
        const SheetItem* item = nullptr;
        if (HRESULT hr = find(child, item); hr != S_OK) return hr;
        RECT at{};
        if (item) {
            at = item->at;
            MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&at), 2);
        } else {
            GetWindowRect(hwnd_, &at);
        }
        *left = at.left;
        *top = at.top;
        *width = at.right - at.left;
        *height = at.bottom - at.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long, VARIANT, VARIANT* end) override { return empty(end); }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        if (!child) return E_POINTER;
        VariantInit(child);
        const Sheet* s = sheet();
        if (!s) return CO_E_OBJNOTCONNECTED;
        POINT at{x, y};
        ScreenToClient(hwnd_, &at);
        RECT client{};
        GetClientRect(hwnd_, &client);
        if (!PtInRect(&client, at)) return S_FALSE;
        child->vt = VT_I4;
        child->lVal = CHILDID_SELF;
        // A label or picture before the frame around it.
        for (std::size_t i = 0; i < s->size(); ++i) {
            const SheetItem& item = s->item(i);
            if (!item.visible || !PtInRect(&item.at, at)) continue;
            if (child->lVal == CHILDID_SELF || !item.frame) child->lVal = static_cast<long>(i + 1);
            if (!item.frame) break;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    const Sheet* sheet() const { return IsWindow(hwnd_) ? bound_object<const Sheet>(hwnd_) : nullptr; }

    // The item a child id names; null for the sheet itself.
    HRESULT find(const VARIANT& child, const SheetItem*& item) const {
        const Sheet* s = sheet();
        if (!s) return CO_E_OBJNOTCONNECTED;
        if (child.vt != VT_I4) return E_INVALIDARG;
        if (child.lVal == CHILDID_SELF) {
            item = nullptr;
            return S_OK;
        }
        if (child.lVal < 1 || static_cast<std::size_t>(child.lVal) > s->size()) return E_INVALIDARG;
        item = &s->item(static_cast<std::size_t>(child.lVal) - 1);
        return S_OK;
    }
    static HRESULT nothing(BSTR* text) {
        if (!text) return E_POINTER;
        *text = nullptr;
        return S_FALSE;
    }
    static HRESULT empty(VARIANT* v) {
        if (!v) return E_POINTER;
        VariantInit(v);
        return S_FALSE;
    }

    LONG refs_ = 1;
    HWND hwnd_;
};

}  // namespace

IAccessible* make_sheet_accessible(HWND sheet) { return new SheetAccessible(sheet); }

LRESULT answer_sheet_object(HWND sheet, WPARAM wp) {
    auto answer = oleacc_function<LPFNLRESULTFROMOBJECT>("LresultFromObject");
    if (!answer) return 0;
    IAccessible* object = make_sheet_accessible(sheet);
    const LRESULT result = answer(__uuidof(IAccessible), wp, object);
    object->Release();
    return result;
}

}  // namespace veltrano::ui::win32
