// A header of one target beside a file of another (as admin/context.h lies
// beside admin/time_sync.cpp, which its target must not include).
#pragma once

inline constexpr int kOwnersOwn = 1;
