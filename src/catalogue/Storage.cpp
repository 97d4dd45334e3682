#include "catalogue/Storage.h"

#include <velawidget/platform/PosixFileStore.h>

#include <algorithm>
#include <boost/json.hpp>
#include <boost/url/parse.hpp>
#include <memory>
#include <numeric>
#include <utility>

#include "core/Debug.h"
#include "platform/FetchWithStatus.h"
#include "platform/portable/NullHttpClient.h"

namespace velawidget {
namespace {

constexpr std::string_view bankListFileSuffix = "banksListStorage";
constexpr std::string_view lastUsedBanksFileName = "lastUsedBanks";

std::optional<std::filesystem::path> fileIn(const FileStorePtr& files, std::string_view name) {
    if (!files) return std::nullopt;
    auto directory = files->cachesDirectory();
    if (!directory || directory->empty()) return std::nullopt;
    return *directory / std::string(name);
}

std::optional<std::string> readFile(const FileStorePtr& files, const std::filesystem::path& file,
                                    std::size_t maxBytes, std::string_view what) {
    auto result = files->read(file, maxBytes);
    if (auto* error = std::get_if<std::error_code>(&result)) {
        debugLine(std::string(what) + " read failed: " + error->message());
        return std::nullopt;
    }
    return std::get<std::string>(std::move(result));
}

// The loader's word for what the transport says went wrong.
LoadFailureCause causeOf(HttpFailure failure) {
    switch (failure) {
        case HttpFailure::none:
            return LoadFailureCause::none;
        case HttpFailure::offline:
            return LoadFailureCause::offline;
        case HttpFailure::dnsLookup:
            return LoadFailureCause::dnsLookup;
        case HttpFailure::connect:
            return LoadFailureCause::connect;
        case HttpFailure::tls:
            return LoadFailureCause::tls;
        case HttpFailure::timeout:
            return LoadFailureCause::timeout;
        case HttpFailure::bodyTooLarge:
            return LoadFailureCause::bodyTooLarge;
        case HttpFailure::transport:
            return LoadFailureCause::transport;
    }
    return LoadFailureCause::transport;
}

/// The first `limit` lines; a file with more came from elsewhere, and the
/// rest could only cost time.
std::vector<std::string> splitLines(std::string_view text, std::size_t limit) {
    std::vector<std::string> pieces;
    while (pieces.size() < limit) {
        const auto end = text.find('\n');
        pieces.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return pieces;
}

}  // namespace

Storage::Storage(HttpClientPtr http, FileStorePtr files)
    : http_(http ? std::move(http) : std::make_shared<NullHttpClient>()),
      files_(std::move(files)) {}

void Storage::fetchBankList(Schema schema, Consumer consumer,
                            std::function<void(FetchResult)> completion) const {
    fetchBankList(schema, consumer,
                  std::function<void(FetchResult, const Details&)>(
                      [completion = std::move(completion)](FetchResult result, const Details&) {
                          completion(std::move(result));
                      }));
}

void Storage::fetchBankList(Schema schema, Consumer consumer,
                            std::function<void(FetchResult, const Details&)> completion) const {
    const std::string text = bankListURL(schema);
    const auto address = boost::urls::parse_uri(text);
    HttpRequest request;
    request.url = address ? std::string(address->buffer()) : text;
    request.timeout = std::chrono::seconds(60);
    request.cachePolicy = CachePolicy::ignoreLocalCache;

    // The copy keeps the client and the file store alive until the download ends,
    // whatever happens to this value meanwhile.
    auto arrived = [self = *this, schema, consumer, completion = std::move(completion)](
                       HttpBody body, LoadFailureCause cause, int status) {
        auto fallback = [&](LoadFailureCause why) {
            Details details{Source::cacheAfterFailure, why, status, std::nullopt};
            auto banks = self.readCachedBankList(schema);
            if (banks && consumer == Consumer::screen)
                banks = self.applyLastUsedOrder(std::move(*banks));
            if (banks && !banks->empty()) {
                details.cacheAge = self.cacheAge(schema);
                completion(std::move(*banks), details);
            } else {
                completion(Error{why, status}, details);
            }
        };
        if (!body)
            return fallback(cause == LoadFailureCause::none ? LoadFailureCause::transport : cause);

        auto decoded = decodeBankList(*body);
        if (auto* error = std::get_if<DecodeError>(&decoded)) {
            // A body that is not a bank list says no more than a missing one: the
            // last good cache stays as it is and is offered instead. Behind an
            // error status it is the server's error page, not a broken list.
            debugLine("bank list decoding failed: " + error->description);
            const bool errorStatus = status != 0 && (status < 200 || status > 299);
            return fallback(errorStatus ? LoadFailureCause::httpStatus
                                        : LoadFailureCause::malformedDocument);
        }
        auto write = [&] {
            if (body->size() > maxBankListFileBytes) {
                // It could never be read back, and it would replace a list that can.
                debugLine("bank list not cached: " + std::to_string(body->size()) + " bytes");
            } else if (auto file = self.bankListFileURL(schema)) {
                if (auto error = self.files_->write(*file, *body)) {
                    debugLine("bank list cache write failed: " + error.message());
                }
            }
        };
        if (consumer == Consumer::query) write();
        auto& document = std::get<BankListResponse>(decoded);
        completion(self.applyLastUsedOrder(std::move(document.dictionary)),
                   Details{Source::network, LoadFailureCause::none, status, std::nullopt});
        if (consumer == Consumer::screen) write();
    };

    if (dynamic_cast<const NullHttpClient*>(http_.get()) != nullptr) {
        // Said here, once per query: nothing else tells a host why every list fails.
        debugLine("no HTTP client installed, bank list not requested: " + request.url);
        http_->get(std::move(request), [arrived = std::move(arrived)](const HttpBody&) {
            arrived(std::nullopt, LoadFailureCause::noHttpClient, 0);
        });
        return;
    }
    debugLine("fetching bank list, url: " + request.url);
    fetchWithStatus(*http_, std::move(request), [arrived](HttpResponse response) {
        arrived(std::move(response.body), causeOf(response.failure), response.status);
    });
}

std::optional<std::chrono::seconds> Storage::cacheAge(Schema schema) const {
    const auto* posix = dynamic_cast<const PosixFileStore*>(files_.get());
    const auto file = bankListFileURL(schema);
    if (posix == nullptr || !file) return std::nullopt;
    const auto written = posix->modificationTime(*file);
    if (!written) return std::nullopt;
    const auto age = std::chrono::duration_cast<std::chrono::seconds>(
        std::chrono::system_clock::now() - *written);
    // A clock set back makes a file from the future: it is as new as can be.
    return std::max(age, std::chrono::seconds(0));
}

std::optional<std::vector<Bank>> Storage::readCachedBankList(Schema schema) const {
    const auto file = bankListFileURL(schema);
    if (!file) return std::nullopt;
    auto bytes = readFile(files_, *file, maxBankListFileBytes, "bank list cache");
    if (!bytes) return std::nullopt;
    auto decoded = decodeBankList(*bytes);
    if (auto* error = std::get_if<DecodeError>(&decoded)) {
        debugLine("bank list cache decoding failed: " + error->description);
        return std::nullopt;
    }
    return std::get<BankListResponse>(std::move(decoded)).dictionary;
}

std::vector<Bank> Storage::applyLastUsedOrder(std::vector<Bank> banks) const {
    const auto names = readLastUsedBanks();
    if (names.empty()) return banks;
    // The moves are made on positions, not on the records, so ten thousand
    // banks are moved once instead of once per name and step.
    std::vector<std::size_t> order(banks.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    bool moved = false;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto found = std::find_if(order.begin(), order.end(), [&](std::size_t index) {
            return banks[index].logoURL == names[i];
        });
        if (found == order.end()) continue;
        const std::size_t index = *found;
        order.erase(found);
        // Names that matched nothing can push the target past the end: append.
        const auto target = std::min(i, order.size());
        order.insert(order.begin() + static_cast<std::ptrdiff_t>(target), index);
        moved = true;
    }
    if (!moved) return banks;
    std::vector<Bank> ordered;
    ordered.reserve(banks.size());
    for (const std::size_t index : order) ordered.push_back(std::move(banks[index]));
    return ordered;
}

void Storage::updateLastUsedBank(const std::string& logoURL) const {
    std::vector<std::string> entries{logoURL};
    for (auto& name : readLastUsedBanks()) {
        if (entries.size() == lastUsedLimit) break;
        if (std::find(entries.begin(), entries.end(), name) == entries.end()) {
            entries.push_back(std::move(name));
        }
    }
    std::string joined;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0) joined += '\n';
        joined += entries[i];
    }

    const auto file = lastUsedBanksFileURL();
    if (!file) return;
    if (auto error = files_->write(*file, boost::json::serialize(boost::json::string(joined)))) {
        debugLine("last used banks write failed: " + error.message());
    }
    debugLine("did update last used bank " + joined);
}

std::vector<std::string> Storage::readLastUsedBanks() const {
    const auto file = lastUsedBanksFileURL();
    if (!file) return {};
    auto bytes = readFile(files_, *file, maxLastUsedFileBytes, "last used banks");
    if (!bytes) return {};
    boost::system::error_code error;
    const boost::json::value value = boost::json::parse(*bytes, error);
    if (error) {
        debugLine("last used banks decoding failed: " + error.message());
        return {};
    }
    if (!value.is_string()) {
        debugLine("last used banks decoding failed: the file does not hold a JSON string");
        return {};
    }
    return splitLines(value.get_string(), lastUsedLimit);
}

std::optional<std::filesystem::path> Storage::bankListFileURL(Schema schema) const {
    std::string name(rawValue(schema));
    name += bankListFileSuffix;
    return fileIn(files_, name);
}

std::optional<std::filesystem::path> Storage::lastUsedBanksFileURL() const {
    return fileIn(files_, lastUsedBanksFileName);
}

}  // namespace velawidget
