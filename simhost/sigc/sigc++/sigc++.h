#ifndef LIRVA_SIMHOST_SIGC_NAMES_H
#define LIRVA_SIMHOST_SIGC_NAMES_H

// The signal names the box's toolkit and the plug-in use (SigC::Object,
// SigC::Connection, SigC::Signal0, SigC::Signal1, SigC::slot), mapped onto
// libsigc++ 3 for the builds on PCs.
//
// It stands where the box's own umbrella header of its signal library
// stands, so the plug-in's `#include <sigc++/sigc++.h>` finds the box's
// header in a box build and this one here. It includes libsigc++ 3's own
// headers by their single names, never its umbrella (which this one hides).

#include <sigc++/connection.h>
#include <sigc++/functors/mem_fun.h>
#include <sigc++/signal.h>
#include <sigc++/trackable.h>

namespace SigC {

// A base whose signal connections end when it is destroyed.
using Object = sigc::trackable;
// The handle that connect() returns.
using Connection = sigc::connection;

// Signals whose slots return R, with no argument or one. Emitting calls the
// connected slots synchronously, in connection order, on the emitting thread.
template <class R>
using Signal0 = sigc::signal<R()>;
template <class R, class A1>
using Signal1 = sigc::signal<R(A1)>;

// A slot that calls `method` on `object`; it ends with the object when the
// object is an Object.
template <class T, class Class, class R, class... Args>
auto slot(T& object, R (Class::*method)(Args...))
{
    return sigc::mem_fun(object, method);
}

}  // namespace SigC

#endif
