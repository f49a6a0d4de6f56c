// Read-only questions about the current layer and document. None shows a
// message; a failed read answers false.
#pragma once

bool HasFilterMask();
bool HasUserMask();
bool HasVectorMask();
