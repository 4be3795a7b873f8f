// Whether COM is initialised on the calling thread.
#pragma once

namespace com_detail {

bool IsInitializedOnThisThread();

}  // namespace com_detail
