// The built-in resource table used when no resource file supplies a value.
#pragma once

// Null-terminated list of resource lines for the toolkit.
char** fallback_resources();
