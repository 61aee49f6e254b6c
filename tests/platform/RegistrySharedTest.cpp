// The shared registry behaviour against the native in-memory tree.
#include "platform/RegistrySuite.h"
