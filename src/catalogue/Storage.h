#pragma once

#include <velawidget/LoadFailure.h>
#include <velawidget/platform/FileStore.h>
#include <velawidget/platform/HttpClient.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "catalogue/BankListDocument.h"
#include "catalogue/Schema.h"

namespace velawidget {

/// The bank-list loader. It keeps no bank data: all of its state lives in
/// three files in the caches directory. It holds only the platform services.
class Storage {
  public:
    using BankListResponse = velawidget::BankListResponse;
    /// No list: the download failed and the cache held none.
    struct Error {
        /// Why the download failed.
        LoadFailureCause cause = LoadFailureCause::transport;
        /// The status of an error answer (`httpStatus`), else 0.
        int httpStatus = 0;
        bool operator==(const Error&) const = default;
    };
    /// Success with banks in display order (possibly none), or failure.
    using FetchResult = std::variant<std::vector<Bank>, Error>;

    /// At most this many entries are kept in, and read from, the last-used file.
    static constexpr std::size_t lastUsedLimit = 3;
    /// Bank-list cache files larger than this count as unreadable, and a body
    /// larger than this is delivered but not cached.
    static constexpr std::size_t maxBankListFileBytes = maxBankListBytes;
    /// The last-used file at its largest: three logo texts of the longest a
    /// document may hold, every byte escaped as \u00XX, and the separators.
    static constexpr std::size_t maxLastUsedFileBytes =
        lastUsedLimit * 6 * maxLogoURLBytes + 2 * (lastUsedLimit - 1) + 2;

    Storage(HttpClientPtr http, FileStorePtr files);

    /// Where a fetched list came from: the network, or the cache file after
    /// the download failed (so it may be out of date).
    enum class Source { network, cacheAfterFailure };

    /// What the loader knows of a fetch beyond its banks.
    struct Details {
        Source source = Source::network;
        /// Why the download failed; none when the banks are fresh.
        LoadFailureCause cause = LoadFailureCause::none;
        /// The status of an error answer (`httpStatus`), else 0.
        int httpStatus = 0;
        /// How old the cache file was when a list was served from it, when
        /// the file store can tell.
        std::optional<std::chrono::seconds> cacheAge;
    };

    /// Who waits for a fetched list.
    enum class Consumer {
        /// A data-only query: a cached list comes as it was stored, and a
        /// download's file is written before its banks go out (the host may
        /// exit as soon as it has them).
        query,
        /// The selector: a cached list comes in last-used order, and a
        /// download's banks go out before its file is written (a durable
        /// write waits for the disk, often 10 ms and more, and the shopper
        /// waits for the banks, not for the file).
        screen,
    };

    /// Completion runs once, on the HTTP client's callback queue.
    void fetchBankList(Schema schema, Consumer consumer,
                       std::function<void(FetchResult)> completion) const;
    /// The same, telling where the banks came from, why the download failed
    /// and how old a cached list is.
    void fetchBankList(Schema schema, Consumer consumer,
                       std::function<void(FetchResult, const Details&)> completion) const;
    std::optional<std::vector<Bank>> readCachedBankList(Schema schema) const;
    std::vector<Bank> applyLastUsedOrder(std::vector<Bank> banks) const;
    void updateLastUsedBank(const std::string& logoURL) const;
    std::vector<std::string> readLastUsedBanks() const;

    std::optional<std::filesystem::path> bankListFileURL(Schema schema) const;
    std::optional<std::filesystem::path> lastUsedBanksFileURL() const;

  private:
    std::optional<std::chrono::seconds> cacheAge(Schema schema) const;

    HttpClientPtr http_;
    FileStorePtr files_;
};

}  // namespace velawidget
