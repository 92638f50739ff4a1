#include <doctest.h>

#include "Win32Test.h"
#include "platform/OfficeAutomation.h"

#include <oaidl.h>
#include <objbase.h>
#include <oleauto.h>

#include <algorithm>
#include <cstdio>

using namespace examora;
using namespace examora::wintest;

// The office automation backend against a real out-of-process automation server: this
// program, started again, plays a spreadsheet application. It registers in the running
// object table under a test program identifier, answers IDispatch calls by name, named
// arguments included, and writes down every call it receives.
namespace {

constexpr wchar_t kProgId[] = L"Examora.TestSpreadsheet";
constexpr wchar_t kClsid[] = L"{6F1C3B52-2E4A-4C8B-9A53-0E7A1D5C4B21}";

struct Member {
  const wchar_t* name;
  DISPID id;
};
// Argument names of the spreadsheet's methods, as its documentation would list them.
constexpr Member kArgumentNames[] = {{L"SaveChanges", 100}, {L"Filename", 101}};

std::string Describe(const VARIANT& v) {
  switch (v.vt) {
    case VT_BOOL:
      return v.boolVal != VARIANT_FALSE ? "True" : "False";
    case VT_I4:
      return std::to_string(v.lVal);
    case VT_I2:
      return std::to_string(v.iVal);
    case VT_BSTR:
      return "\"" + WideToUtf8(std::wstring_view(v.bstrVal, SysStringLen(v.bstrVal))) + "\"";
    case VT_ERROR:
      return v.scode == DISP_E_PARAMNOTFOUND ? "<missing>" : "<error>";
    case VT_DISPATCH:
      return "<object>";
    default:
      return "<vt " + std::to_string(v.vt) + ">";
  }
}

class Spreadsheet;

// One object of the played application. Members are found by name without regard to case,
// as automation does.
class ScriptObject : public IDispatch {
 public:
  ScriptObject(Spreadsheet& app, std::string name, std::vector<std::wstring> members)
      : app_(app), name_(std::move(name)), members_(std::move(members)) {}
  virtual ~ScriptObject() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }

  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    HRESULT result = S_OK;
    for (UINT i = 0; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      if (i == 0) {
        for (std::size_t m = 0; m < members_.size(); ++m) {
          if (_wcsicmp(names[0], members_[m].c_str()) == 0) ids[0] = static_cast<DISPID>(m + 1);
        }
      } else {
        for (const Member& arg : kArgumentNames) {
          if (_wcsicmp(names[i], arg.name) == 0) ids[i] = arg.id;
        }
      }
      if (ids[i] == DISPID_UNKNOWN) result = DISP_E_UNKNOWNNAME;
    }
    return result;
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT*) override;

 protected:
  // The member's answer; the call is already written down.
  virtual HRESULT Answer(const std::wstring& member, WORD flags, const std::vector<VARIANT*>& args,
                         VARIANT* result, EXCEPINFO* exception) = 0;

  Spreadsheet& app_;

 private:
  ULONG refs_ = 1;
  std::string name_;
  std::vector<std::wstring> members_;
};

class Spreadsheet {
 public:
  explicit Spreadsheet(std::string logPath) : logPath_(std::move(logPath)) {}
  void Record(const std::string& line) {
    log_ += line + "\n";
    WriteFileBytes(logPath_, log_);
  }
  std::vector<int> openBooks;
  std::wstring caption = L"Microsoft Excel";

 private:
  std::string logPath_;
  std::string log_;
};

HRESULT ScriptObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                             VARIANT* result, EXCEPINFO* exception, UINT*) {
  if (id < 1 || static_cast<std::size_t>(id) > members_.size()) return DISP_E_MEMBERNOTFOUND;
  const std::wstring& member = members_[static_cast<std::size_t>(id) - 1];
  std::string line = name_ + "." + WideToUtf8(member);
  std::vector<VARIANT*> positional;
  std::vector<std::pair<DISPID, VARIANT*>> named;
  for (UINT i = 0; i < params->cArgs; ++i) {
    if (i < params->cNamedArgs) {
      named.emplace_back(params->rgdispidNamedArgs[i], &params->rgvarg[i]);
    } else {
      positional.insert(positional.begin(), &params->rgvarg[i]);  // they come last first
    }
  }
  if (flags & DISPATCH_PROPERTYPUT) {
    if (named.size() != 1 || named[0].first != DISPID_PROPERTYPUT) return DISP_E_PARAMNOTOPTIONAL;
    app_.Record(line + " := " + Describe(*named[0].second));
    return Answer(member, flags, {named[0].second}, result, exception);
  }
  if (!params->cArgs) {
    app_.Record(line);
  } else {
    std::string list;
    for (VARIANT* arg : positional) list += (list.empty() ? "" : ", ") + Describe(*arg);
    // The order of named arguments carries no meaning; they are written in a fixed one.
    std::sort(named.begin(), named.end());
    for (const auto& [argId, arg] : named) {
      std::string argName = "#" + std::to_string(argId);
      for (const Member& known : kArgumentNames) {
        if (known.id == argId) argName = WideToUtf8(known.name);
      }
      list += (list.empty() ? "" : ", ") + argName + "=" + Describe(*arg);
    }
    app_.Record(line + "(" + list + ")");
  }
  std::vector<VARIANT*> args = positional;
  for (const auto& [argId, arg] : named) {
    if (argId == 100) args.insert(args.begin(), arg);  // SaveChanges is the first parameter
  }
  if (result) VariantInit(result);
  return Answer(member, flags, args, result, exception);
}

HRESULT Fail(EXCEPINFO* exception, const wchar_t* text, HRESULT code) {
  if (exception) {
    *exception = EXCEPINFO{};
    exception->bstrSource = SysAllocString(L"Examora test spreadsheet");
    exception->bstrDescription = SysAllocString(text);
    exception->scode = code;
  }
  return DISP_E_EXCEPTION;
}

void SetText(VARIANT* result, const std::wstring& text) {
  if (!result) return;
  result->vt = VT_BSTR;
  result->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

void SetObject(VARIANT* result, IDispatch* object) {
  if (!result) {
    if (object) object->Release();
    return;
  }
  result->vt = VT_DISPATCH;
  result->pdispVal = object;
}

class Workbook : public ScriptObject {
 public:
  Workbook(Spreadsheet& app, int number)
      : ScriptObject(app, "Book" + std::to_string(number), {L"Name", L"Close"}), number_(number) {}

 protected:
  HRESULT Answer(const std::wstring& member, WORD, const std::vector<VARIANT*>&, VARIANT* result,
                 EXCEPINFO*) override {
    if (member == L"Name") {
      SetText(result, L"Book" + std::to_wstring(number_) + L".xlsx");
    } else {
      std::erase(app_.openBooks, number_);
    }
    return S_OK;
  }

 private:
  int number_;
};

class Workbooks : public ScriptObject {
 public:
  explicit Workbooks(Spreadsheet& app) : ScriptObject(app, "Workbooks", {L"Count", L"Item"}) {}

 protected:
  HRESULT Answer(const std::wstring& member, WORD, const std::vector<VARIANT*>& args,
                 VARIANT* result, EXCEPINFO* exception) override {
    if (member == L"Count") {
      if (result) {
        result->vt = VT_I4;
        result->lVal = static_cast<LONG>(app_.openBooks.size());
      }
      return S_OK;
    }
    if (args.size() != 1 || args[0]->vt != VT_I4 || args[0]->lVal < 1 ||
        static_cast<std::size_t>(args[0]->lVal) > app_.openBooks.size()) {
      return Fail(exception, L"インデックスが有効範囲にありません。", DISP_E_BADINDEX);
    }
    SetObject(result,
              new Workbook(app_, app_.openBooks[static_cast<std::size_t>(args[0]->lVal) - 1]));
    return S_OK;
  }
};

class Application : public ScriptObject {
 public:
  explicit Application(Spreadsheet& app)
      : ScriptObject(app, "Application",
                     {L"Version", L"Workbooks", L"ActiveWorkbook", L"Caption", L"Quit"}) {}

 protected:
  HRESULT Answer(const std::wstring& member, WORD flags, const std::vector<VARIANT*>& args,
                 VARIANT* result, EXCEPINFO*) override {
    if (member == L"Version") {
      SetText(result, L"16.0");
    } else if (member == L"Workbooks") {
      SetObject(result, new Workbooks(app_));
    } else if (member == L"ActiveWorkbook") {
      // Nothing when no workbook is open, as the real application answers.
      SetObject(result,
                app_.openBooks.empty() ? nullptr : new Workbook(app_, app_.openBooks.back()));
    } else if (member == L"Caption") {
      if (flags & DISPATCH_PROPERTYPUT) {
        if (args[0]->vt != VT_BSTR) return DISP_E_TYPEMISMATCH;
        app_.caption.assign(args[0]->bstrVal, SysStringLen(args[0]->bstrVal));
      } else {
        SetText(result, app_.caption);
      }
    } else if (member == L"Quit") {
      PostQuitMessage(0);  // after this call has been answered
    }
    return S_OK;
  }
};

// Child: the spreadsheet application with the given number of open workbooks.
const RegisterChildRole spreadsheet("spreadsheet", [](const std::vector<std::string>& args) {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 3;
  Spreadsheet app(args.at(0));
  for (int i = 1; i <= std::stoi(args.at(2)); ++i) app.openBooks.push_back(i);
  CLSID clsid{};
  CLSIDFromString(kClsid, &clsid);
  Application* application = new Application(app);
  DWORD cookie = 0;
  if (FAILED(RegisterActiveObject(application, clsid, ACTIVEOBJECT_STRONG, &cookie))) return 4;
  SetEventNamed(args.at(1));
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  RevokeActiveObject(cookie, nullptr);
  application->Release();
  CoUninitialize();
  return 0;
});

// The program identifier under HKCR, where CLSIDFromProgID looks (a per-user entry is not
// seen by it under Wine); removed again afterwards.
class RegisteredProgId {
 public:
  RegisteredProgId() {
    HKEY key = nullptr;
    const std::wstring path = std::wstring(kProgId) + L"\\CLSID";
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
      return;
    }
    ok_ = RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kClsid),
                         sizeof kClsid) == ERROR_SUCCESS;
    RegCloseKey(key);
  }
  ~RegisteredProgId() { RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId); }
  bool Ok() const { return ok_; }

 private:
  bool ok_ = false;
};

AutomationArg Positional(AutomationValue value) {
  return {"", std::move(value)};
}

}  // namespace

TEST_CASE("office automation: the calls, their order and named arguments reach the application") {
  RegisteredProgId progId;
  if (!progId.Ok()) {
    PrintSkip("office automation", "HKEY_CLASSES_ROOT is not writable (needs an administrator)");
    return;
  }
  const std::string progIdText = WideToUtf8(kProgId);
  // Registered but not running: the application is never started by us.
  CHECK_FALSE(GetActiveAutomationObject(progIdText).ok);
  CHECK_FALSE(GetActiveAutomationObject("Examora.NoSuchApplication").ok);

  TempFolder dir;
  const std::string logPath = dir.File("calls.txt");
  Event ready(UniqueName("spreadsheet"));
  Child server({"spreadsheet", logPath, ready.Name(), "4"});
  REQUIRE(ready.WaitFor(20000));
  {
    const AutomationResult found = GetActiveAutomationObject(progIdText);
    REQUIRE_MESSAGE(found.ok, found.error);
    const AutomationObjectPtr application = found.Object();
    REQUIRE(application);

    std::string version;
    CHECK(application->Get("Version").Text(version));
    CHECK(version == "16.0");
    const AutomationObjectPtr workbooks = application->Get("Workbooks").Object();
    REQUIRE(workbooks);
    std::int32_t count = 0;
    CHECK(workbooks->Get("Count").Integer(count));
    CHECK(count == 4);
    CHECK(application->Get("ActiveWorkbook").Object() != nullptr);

    CHECK(application->Put("Caption", std::string("試験用 Ｅｘｃｅｌ")).ok);
    std::string caption;
    CHECK(application->Get("Caption").Text(caption));
    CHECK(caption == "試験用 Ｅｘｃｅｌ");

    // The application's own text and code come back when it refuses a call.
    const AutomationResult badIndex = workbooks->Get("Item", {Positional(std::int32_t{9})});
    CHECK_FALSE(badIndex.ok);
    CHECK(badIndex.error == "Item: インデックスが有効範囲にありません。");
    CHECK(badIndex.code == DISP_E_BADINDEX);
    const AutomationResult unknown = application->Get("NoSuchMember");
    CHECK_FALSE(unknown.ok);
    CHECK(unknown.code == DISP_E_UNKNOWNNAME);

    // Closed last first, with and without SaveChanges, by name, by position and mixed.
    const std::vector<std::vector<AutomationArg>> closeArgs = {
        {Positional(false), {"Filename", std::string("提出.xlsx")}},
        {Positional(false), Positional(std::string("提出.xlsx"))},
        {{"SaveChanges", false}},
        {},
    };
    for (std::int32_t book = 4; book >= 1; --book) {
      CAPTURE(book);
      const AutomationObjectPtr workbook = workbooks->Get("Item", {Positional(book)}).Object();
      REQUIRE(workbook);
      CHECK(workbook->Call("Close", closeArgs[static_cast<std::size_t>(book) - 1]).ok);
    }
    CHECK(workbooks->Get("Count").Integer(count));
    CHECK(count == 0);
    CHECK(application->Get("ActiveWorkbook").Object() == nullptr);
    CHECK(application->Call("Quit").ok);
  }
  REQUIRE(server.Wait(20000) == 0u);
  CHECK(ReadFileBytes(logPath).value_or("") ==
        "Application.Version\n"
        "Application.Workbooks\n"
        "Workbooks.Count\n"
        "Application.ActiveWorkbook\n"
        "Application.Caption := \"試験用 Ｅｘｃｅｌ\"\n"
        "Application.Caption\n"
        "Workbooks.Item(9)\n"
        "Workbooks.Item(4)\n"
        "Book4.Close\n"
        "Workbooks.Item(3)\n"
        "Book3.Close(SaveChanges=False)\n"
        "Workbooks.Item(2)\n"
        "Book2.Close(False, \"提出.xlsx\")\n"
        "Workbooks.Item(1)\n"
        "Book1.Close(False, Filename=\"提出.xlsx\")\n"
        "Workbooks.Count\n"
        "Application.ActiveWorkbook\n"
        "Application.Quit\n");
  // Gone from the running object table with the application.
  CHECK_FALSE(GetActiveAutomationObject(progIdText).ok);
}
