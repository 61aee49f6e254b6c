// The shared registry behaviour against the real registry (Wine's advapi32).
#include "platform/RegistrySuite.h"
