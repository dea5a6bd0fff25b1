// Owning holders for what automation calls hand out: an interface
// reference, a VARIANT, a few argument VARIANTs. Each lets go of what it
// holds when it goes, so that no early return leaks a reference.
#pragma once

#include <oaidl.h>
#include <oleauto.h>

#include <initializer_list>
#include <utility>

namespace qx {

template <class T>
class ComRef {
 public:
  ComRef() = default;
  // Takes over one reference.
  explicit ComRef(T* owned) : p_(owned) {}
  ~ComRef() { Reset(); }
  ComRef(ComRef&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  ComRef& operator=(ComRef&& o) noexcept {
    if (this != &o) {
      Reset();
      p_ = std::exchange(o.p_, nullptr);
    }
    return *this;
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For a call that hands a reference out through T**.
  T** put() {
    Reset();
    return &p_;
  }
  void Reset(T* owned = nullptr) {
    T* old = std::exchange(p_, owned);
    if (old) old->Release();
  }

 private:
  T* p_ = nullptr;
};

class VariantHolder {
 public:
  VariantHolder() { VariantInit(&v_); }
  // Takes over what `v` holds.
  explicit VariantHolder(const VARIANT& v) : v_(v) {}
  ~VariantHolder() { VariantClear(&v_); }
  VariantHolder(const VariantHolder&) = delete;
  VariantHolder& operator=(const VariantHolder&) = delete;

  const VARIANT& operator*() const { return v_; }
  const VARIANT* operator->() const { return &v_; }
  // Emptied first, for a call to fill.
  VARIANT* put() {
    VariantClear(&v_);
    return &v_;
  }

 private:
  VARIANT v_;
};

// Arguments of one call, in declaration order, cleared after it.
template <unsigned N>
class Arguments {
 public:
  // Takes over what each of (at most N) `args` holds.
  Arguments(std::initializer_list<VARIANT> args) {
    const VARIANT* a = args.begin();
    for (unsigned i = 0; i < N; ++i) {
      if (a != args.end()) {
        v_[i] = *a++;
      } else {
        VariantInit(&v_[i]);
      }
    }
  }
  ~Arguments() {
    for (VARIANT& a : v_) VariantClear(&a);
  }
  Arguments(const Arguments&) = delete;
  Arguments& operator=(const Arguments&) = delete;

  const VARIANT* data() const { return v_; }
  static constexpr unsigned size() { return N; }

 private:
  VARIANT v_[N];
};

}  // namespace qx
