#pragma once

#include <velawidget/BankListResult.h>
#include <velawidget/LoadFailure.h>
#include <velawidget/export.h>

#include <chrono>
#include <optional>
#include <string>
#include <utility>

namespace velawidget {

/// The outcome of the data-only query with what the kit knows about it: the
/// result a `BankListResult` completion receives, why the download failed,
/// and whether the banks are an older list read from the caches directory.
class VELAWIDGET_API BankListReport {
  public:
    explicit BankListReport(BankListResult result) : result(std::move(result)) {}

    /// The banks, or `loadingFaild`: exactly what the `BankListResult`
    /// overload of `bankList` delivers for the same query.
    BankListResult result;
    /// Why the download failed: set on a failure, and on banks served from
    /// the cache after a failed download; `none` for a fresh list.
    LoadFailureCause cause = LoadFailureCause::none;
    /// The status of the server's answer, 0 when none arrived or the HTTP
    /// client does not tell it.
    int httpStatus = 0;
    /// The banks were read from the caches directory because the download
    /// failed; the list may be out of date.
    bool fromCache = false;
    /// How old the cached list was (from its file's modification time), when
    /// `fromCache` and the file store can tell.
    std::optional<std::chrono::seconds> cacheAge;

    /// One or two sentences for a host's log: what was delivered and why.
    std::string message() const;
};

}  // namespace velawidget
