#include "platform/OfficeAutomation.h"

#include "platform/win32/Utf16.h"

#include <oaidl.h>
#include <objbase.h>
#include <oleauto.h>

namespace examora {
namespace {

std::string HResultText(HRESULT hr) {
  return win32::ErrorText(static_cast<DWORD>(hr));
}

// COM on this thread for as long as the thread lives. A thread already initialised (Qt's user
// interface thread is, for drag and drop) keeps its own set-up.
bool EnsureComOnThisThread(std::string& error) {
  struct Apartment {
    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ~Apartment() {
      if (SUCCEEDED(hr)) CoUninitialize();
    }
  };
  thread_local Apartment apartment;
  // RPC_E_CHANGED_MODE: someone made this a multi-threaded apartment; COM is usable all the same.
  if (SUCCEEDED(apartment.hr) || apartment.hr == RPC_E_CHANGED_MODE) return true;
  error = HResultText(apartment.hr);
  return false;
}

// Owns one VARIANT and clears it (releasing strings and objects) when done.
struct Variant {
  VARIANT v;
  Variant() { VariantInit(&v); }
  ~Variant() { VariantClear(&v); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
};

class DispatchObject;

bool ToVariant(const AutomationValue& value, VARIANT& out, std::string& error);
AutomationValue FromVariant(VARIANT& in);

class DispatchObject final : public AutomationObject {
 public:
  explicit DispatchObject(IDispatch* dispatch) : dispatch_(dispatch) { dispatch_->AddRef(); }
  ~DispatchObject() override { dispatch_->Release(); }
  DispatchObject(const DispatchObject&) = delete;
  DispatchObject& operator=(const DispatchObject&) = delete;

  IDispatch* Dispatch() const { return dispatch_; }

  AutomationResult Get(std::string_view property, const std::vector<AutomationArg>& args) override {
    // Indexed properties (Item(1)) are methods to some servers; both flags accept either.
    return Invoke(property, DISPATCH_PROPERTYGET | DISPATCH_METHOD, args, nullptr);
  }

  AutomationResult Put(std::string_view property, const AutomationValue& value) override {
    return Invoke(property, DISPATCH_PROPERTYPUT, {}, &value);
  }

  AutomationResult Call(std::string_view method, const std::vector<AutomationArg>& args) override {
    return Invoke(method, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args, nullptr);
  }

 private:
  AutomationResult Invoke(std::string_view member, WORD flags,
                          const std::vector<AutomationArg>& args, const AutomationValue* putValue) {
    // Names first: the member and then every named argument in one GetIDsOfNames call, which
    // is how a server tells the argument ids of that member.
    std::vector<std::wstring> names{win32::Utf8ToWide(member)};
    std::vector<std::size_t> namedIndex;  // positions in args of the named arguments
    std::vector<std::size_t> positionalIndex;
    for (std::size_t i = 0; i < args.size(); ++i) {
      if (args[i].name.empty()) {
        positionalIndex.push_back(i);
      } else {
        names.push_back(win32::Utf8ToWide(args[i].name));
        namedIndex.push_back(i);
      }
    }
    std::vector<LPOLESTR> namePointers;
    for (std::wstring& name : names) namePointers.push_back(name.data());
    std::vector<DISPID> ids(names.size(), DISPID_UNKNOWN);
    HRESULT hr = dispatch_->GetIDsOfNames(IID_NULL, namePointers.data(),
                                          static_cast<UINT>(namePointers.size()),
                                          LOCALE_USER_DEFAULT, ids.data());
    if (FAILED(hr))
      return AutomationResult::Failure(std::string(member) + ": " + HResultText(hr), hr);

    // COM wants the arguments in reverse order, and the named ones first: rgvarg[i] belongs to
    // rgdispidNamedArgs[i] for i < cNamedArgs, the positional ones follow last argument first.
    const std::size_t total = args.size() + (putValue ? 1 : 0);
    std::vector<Variant> variants(total);
    std::vector<VARIANTARG> packed(total);
    std::vector<DISPID> namedIds;
    std::string error;
    std::size_t slot = 0;
    if (putValue) {
      if (!ToVariant(*putValue, variants[slot].v, error)) return AutomationResult::Failure(error);
      namedIds.push_back(DISPID_PROPERTYPUT);
      ++slot;
    }
    for (std::size_t n = namedIndex.size(); n-- > 0;) {
      if (!ToVariant(args[namedIndex[n]].value, variants[slot].v, error)) {
        return AutomationResult::Failure(error);
      }
      namedIds.push_back(ids[n + 1]);
      ++slot;
    }
    for (std::size_t p = positionalIndex.size(); p-- > 0;) {
      if (!ToVariant(args[positionalIndex[p]].value, variants[slot].v, error)) {
        return AutomationResult::Failure(error);
      }
      ++slot;
    }
    for (std::size_t i = 0; i < total; ++i) packed[i] = variants[i].v;

    DISPPARAMS params{};
    params.rgvarg = total ? packed.data() : nullptr;
    params.cArgs = static_cast<UINT>(total);
    params.rgdispidNamedArgs = namedIds.empty() ? nullptr : namedIds.data();
    params.cNamedArgs = static_cast<UINT>(namedIds.size());

    Variant result;
    EXCEPINFO exception{};
    UINT badArgument = 0;
    hr = dispatch_->Invoke(ids[0], IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                           putValue ? nullptr : &result.v, &exception, &badArgument);
    if (FAILED(hr)) {
      std::string text = std::string(member) + ": ";
      if (hr == DISP_E_EXCEPTION) {
        // The application's own description, e.g. a dialog box is open.
        if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
        if (exception.bstrDescription) {
          text += win32::WideToUtf8(exception.bstrDescription);
        } else {
          text += HResultText(exception.scode ? exception.scode : hr);
        }
        if (exception.scode) hr = exception.scode;
      } else {
        text += HResultText(hr);
      }
      SysFreeString(exception.bstrSource);
      SysFreeString(exception.bstrDescription);
      SysFreeString(exception.bstrHelpFile);
      return AutomationResult::Failure(text, hr);
    }
    return AutomationResult::Success(FromVariant(result.v));
  }

  IDispatch* dispatch_;
};

bool ToVariant(const AutomationValue& value, VARIANT& out, std::string& error) {
  if (std::holds_alternative<std::monostate>(value)) {
    // An explicitly omitted optional argument.
    out.vt = VT_ERROR;
    out.scode = DISP_E_PARAMNOTFOUND;
  } else if (const auto* flag = std::get_if<bool>(&value)) {
    out.vt = VT_BOOL;
    out.boolVal = *flag ? VARIANT_TRUE : VARIANT_FALSE;
  } else if (const auto* number = std::get_if<std::int32_t>(&value)) {
    out.vt = VT_I4;
    out.lVal = *number;
  } else if (const auto* real = std::get_if<double>(&value)) {
    out.vt = VT_R8;
    out.dblVal = *real;
  } else if (const auto* text = std::get_if<std::string>(&value)) {
    const std::wstring wide = win32::Utf8ToWide(*text);
    out.vt = VT_BSTR;
    out.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    if (!out.bstrVal) {
      out.vt = VT_EMPTY;
      error = "out of memory";
      return false;
    }
  } else {
    const auto& object = std::get<AutomationObjectPtr>(value);
    const auto* dispatch = dynamic_cast<const DispatchObject*>(object.get());
    if (!dispatch) {
      error = "only objects of the same application can be passed";
      return false;
    }
    out.vt = VT_DISPATCH;
    out.pdispVal = dispatch->Dispatch();
    out.pdispVal->AddRef();
  }
  return true;
}

AutomationValue FromVariant(VARIANT& in) {
  switch (in.vt) {
    case VT_EMPTY:
    case VT_NULL:
      return std::monostate{};
    case VT_BOOL:
      return in.boolVal != VARIANT_FALSE;
    case VT_I1:
    case VT_I2:
    case VT_I4:
    case VT_INT:
    case VT_UI1:
    case VT_UI2: {
      Variant converted;
      if (SUCCEEDED(VariantChangeType(&converted.v, &in, 0, VT_I4))) {
        return static_cast<std::int32_t>(converted.v.lVal);
      }
      return std::monostate{};
    }
    case VT_R4:
    case VT_R8: {
      Variant converted;
      if (SUCCEEDED(VariantChangeType(&converted.v, &in, 0, VT_R8))) return converted.v.dblVal;
      return std::monostate{};
    }
    case VT_BSTR:
      return in.bstrVal ? win32::WideToUtf8(std::wstring_view(in.bstrVal, SysStringLen(in.bstrVal)))
                        : std::string();
    case VT_DISPATCH:
      if (!in.pdispVal) return std::monostate{};
      return AutomationObjectPtr(std::make_shared<DispatchObject>(in.pdispVal));
    default: {
      // Anything else (currency, dates, unsigned 32 bits) as the text COM gives it.
      Variant converted;
      if (SUCCEEDED(VariantChangeType(&converted.v, &in, 0, VT_BSTR)) && converted.v.bstrVal) {
        return win32::WideToUtf8(
            std::wstring_view(converted.v.bstrVal, SysStringLen(converted.v.bstrVal)));
      }
      return std::monostate{};
    }
  }
}

}  // namespace

AutomationResult GetActiveAutomationObject(std::string_view programId) {
  std::string error;
  if (!EnsureComOnThisThread(error)) return AutomationResult::Failure(error);
  const std::wstring wide = win32::Utf8ToWide(programId);
  CLSID clsid{};
  HRESULT hr = CLSIDFromProgID(wide.c_str(), &clsid);
  if (FAILED(hr)) {
    return AutomationResult::Failure(std::string(programId) + ": " + HResultText(hr), hr);
  }
  IUnknown* unknown = nullptr;
  hr = GetActiveObject(clsid, nullptr, &unknown);
  if (FAILED(hr) || !unknown) {
    return AutomationResult::Failure(std::string(programId) + ": " + HResultText(hr), hr);
  }
  IDispatch* dispatch = nullptr;
  hr = unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
  unknown->Release();
  if (FAILED(hr) || !dispatch) {
    return AutomationResult::Failure(std::string(programId) + ": " + HResultText(hr), hr);
  }
  auto object = std::make_shared<DispatchObject>(dispatch);
  dispatch->Release();  // the object holds its own reference
  return AutomationResult::Success(AutomationObjectPtr(std::move(object)));
}

}  // namespace examora
