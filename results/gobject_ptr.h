// Owners of GMime's objects: a GObject is released by g_object_unref when its
// owner goes, on every path out.
#ifndef TARVOLO_RESULTS_GOBJECT_PTR_H
#define TARVOLO_RESULTS_GOBJECT_PTR_H

#include <glib-object.h>

#include <memory>

struct GObjectUnref {
  void operator()(void* object) const { g_object_unref(object); }
};

template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

#endif
