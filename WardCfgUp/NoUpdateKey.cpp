// The key of a program built without UPDATE_PUBLIC_KEY: none, so that it applies updates unchecked, as before.
#include "CfgUnit/SignedUpdate.h"

const TUpdateKey BuiltInUpdateKey = NoUpdateKey;
