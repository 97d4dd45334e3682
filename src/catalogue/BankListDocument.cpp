#include "catalogue/BankListDocument.h"

#include <algorithm>
#include <array>
#include <boost/json/basic_parser_impl.hpp>
#include <boost/json/error.hpp>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace velawidget {
namespace {

// Deep enough for any honest document (it needs three levels), shallow enough
// that hostile nesting cannot reach the end of a thread's stack.
constexpr std::size_t maxNestingDepth = 64;

std::string where(std::size_t index, std::string_view key) {
    std::string text = "\"dictionary\"[";
    text += std::to_string(index);
    text += "].\"";
    text += key;
    text += '"';
    return text;
}

std::string tooLong(std::string subject, std::size_t limit) {
    subject += " is longer than " + std::to_string(limit) + " bytes";
    return subject;
}

/// What the last occurrence of a key held. Duplicate keys are legal JSON;
/// the last one wins, as it would in a tree.
enum class Seen : std::uint8_t { absent, string, longString, null, other };

/// The bank fields in the order they are judged, whatever order they came in.
enum Field : std::size_t { bankName, logoURL, appScheme, webClientUrl, isWebClientActive, none };
constexpr std::array<std::string_view, 5> fieldKeys = {"bankName", "logoURL", "schema",
                                                       "webClientUrl", "isWebClientActive"};
constexpr std::array<std::size_t, 5> fieldLimits = {maxBankNameBytes, maxLogoURLBytes,
                                                    maxAppSchemeBytes, maxWebClientUrlBytes,
                                                    maxIsWebClientActiveBytes};
/// Longer keys match no field, so only this much of a key is ever kept.
constexpr std::size_t longestKey = 17;
static_assert(fieldKeys[isWebClientActive].size() == longestKey);

Field fieldFor(std::string_view key) {
    for (std::size_t i = 0; i < fieldKeys.size(); ++i) {
        if (fieldKeys[i] == key) return static_cast<Field>(i);
    }
    return none;
}

/// Builds the records straight from the parser's events, without a tree.
/// The document is judged as the tree walk judged it: every syntax error
/// wins (the whole text is read first), then the top level, "version",
/// "dictionary", and the first faulty element with its fields in fixed order.
/// Content faults are therefore only noted while reading and reported at the end.
class DocumentHandler {
  public:
    static constexpr std::size_t max_object_size = std::numeric_limits<std::size_t>::max();
    static constexpr std::size_t max_array_size = std::numeric_limits<std::size_t>::max();
    static constexpr std::size_t max_key_size = std::numeric_limits<std::size_t>::max();
    static constexpr std::size_t max_string_size = std::numeric_limits<std::size_t>::max();

    bool on_document_begin(boost::json::error_code&) { return true; }
    bool on_document_end(boost::json::error_code&) { return true; }

    bool on_object_begin(boost::json::error_code&) {
        if (depth_ == 0) {
            rootIsObject_ = true;
        } else if (depth_ == 1) {
            topValue(Seen::other);
        } else if (inDictionaryElement()) {
            beginElement(true);
        } else if (inBankField()) {
            fieldValue(Seen::other);
        }
        ++depth_;
        return true;
    }
    bool on_object_end(std::size_t, boost::json::error_code&) {
        --depth_;
        if (depth_ == 2 && dictionaryActive_) endElement();
        return true;
    }
    bool on_array_begin(boost::json::error_code&) {
        if (depth_ == 1) {
            if (topKey_ == TopKey::version) version_ = Seen::other;
            if (topKey_ == TopKey::dictionary) {
                // A later "dictionary" replaces an earlier one.
                dictionary_ = DictionarySeen::array;
                response_.dictionary.clear();
                elementFault_.reset();
                elementCount_ = 0;
                dictionaryActive_ = true;
            }
        } else if (inDictionaryElement()) {
            beginElement(false);
        } else if (inBankField()) {
            fieldValue(Seen::other);
        }
        ++depth_;
        return true;
    }
    bool on_array_end(std::size_t, boost::json::error_code&) {
        --depth_;
        if (depth_ == 1) dictionaryActive_ = false;
        return true;
    }

    bool on_key_part(boost::json::string_view part, std::size_t, boost::json::error_code&) {
        if (keyMatters()) appendKey(part);
        return true;
    }
    bool on_key(boost::json::string_view part, std::size_t, boost::json::error_code&) {
        if (!keyMatters()) return true;
        std::string_view key(part.data(), part.size());
        if (!key_.empty()) {
            appendKey(part);
            key = key_;
        }
        if (depth_ == 1) {
            topKey_ = key == "version"      ? TopKey::version
                      : key == "dictionary" ? TopKey::dictionary
                                            : TopKey::other;
        } else {
            field_ = fieldFor(key);
        }
        key_.clear();
        return true;
    }

    bool on_string_part(boost::json::string_view part, std::size_t, boost::json::error_code&) {
        // A long string may come in several parts; it is placed once, at its first.
        if (!stringOpen_) {
            stringOpen_ = true;
            beginString();
        }
        takeString(part);
        return true;
    }
    bool on_string(boost::json::string_view part, std::size_t, boost::json::error_code&) {
        if (!stringOpen_) beginString();
        takeString(part);
        if (stringSeen_ && stringLength_ > stringLimit_) *stringSeen_ = Seen::longString;
        stringOpen_ = false;
        partial_ = nullptr;
        stringSeen_ = nullptr;
        return true;
    }

    bool on_number_part(boost::json::string_view, boost::json::error_code&) { return true; }
    bool on_int64(std::int64_t, boost::json::string_view, boost::json::error_code&) {
        return scalar(Seen::other);
    }
    bool on_uint64(std::uint64_t, boost::json::string_view, boost::json::error_code&) {
        return scalar(Seen::other);
    }
    bool on_double(double, boost::json::string_view, boost::json::error_code&) {
        return scalar(Seen::other);
    }
    bool on_bool(bool, boost::json::error_code&) { return scalar(Seen::other); }
    bool on_null(boost::json::error_code&) { return scalar(Seen::null); }
    bool on_comment_part(boost::json::string_view, boost::json::error_code&) { return true; }
    bool on_comment(boost::json::string_view, boost::json::error_code&) { return true; }

    /// The outcome once the whole text parsed.
    std::variant<BankListResponse, DecodeError> result() && {
        if (!rootIsObject_) return DecodeError{"the top-level value is not an object"};
        if (version_ == Seen::absent) return DecodeError{"\"version\" is missing"};
        if (version_ == Seen::longString) {
            return DecodeError{tooLong("\"version\"", maxVersionBytes)};
        }
        if (version_ != Seen::string) return DecodeError{"\"version\" is not a string"};
        if (dictionary_ == DictionarySeen::absent) return DecodeError{"\"dictionary\" is missing"};
        if (dictionary_ == DictionarySeen::other)
            return DecodeError{"\"dictionary\" is not an array"};
        if (elementFault_) return DecodeError{std::move(*elementFault_)};
        return std::move(response_);
    }

  private:
    enum class TopKey : std::uint8_t { version, dictionary, other };
    enum class DictionarySeen : std::uint8_t { absent, array, other };

    bool inDictionaryElement() const { return depth_ == 2 && dictionaryActive_; }
    bool inBankField() const { return depth_ == 3 && dictionaryActive_ && elementIsObject_; }
    bool keyMatters() const { return depth_ == 1 || inBankField(); }
    /// Once an element is faulty the rest are read but not kept.
    bool keeping() const { return !elementFault_; }

    /// A value other than an array under a top-level key.
    void topValue(Seen seen) {
        if (topKey_ == TopKey::version) {
            version_ = seen;
            if (seen == Seen::string) response_.version.clear();
        } else if (topKey_ == TopKey::dictionary) {
            dictionary_ = DictionarySeen::other;
            dictionaryActive_ = false;
        }
    }

    void beginElement(bool isObject) {
        elementIsObject_ = isObject;
        seen_.fill(Seen::absent);
        if (keeping()) {
            current_ = Bank{};
            if (!isObject) {
                elementFault_ =
                    "\"dictionary\"[" + std::to_string(elementCount_) + "] is not an object";
            }
        }
        if (!isObject) ++elementCount_;
    }

    void endElement() {
        const std::size_t index = elementCount_++;
        elementIsObject_ = false;
        if (!keeping()) return;
        for (std::size_t i = bankName; i <= isWebClientActive; ++i) {
            const bool required = i <= appScheme;
            if (required && seen_[i] == Seen::absent) {
                elementFault_ = where(index, fieldKeys[i]) + " is missing";
            } else if (seen_[i] == Seen::longString) {
                elementFault_ = tooLong(where(index, fieldKeys[i]), fieldLimits[i]);
            } else if (required && seen_[i] != Seen::string) {
                elementFault_ = where(index, fieldKeys[i]) + " is not a string";
            } else if (seen_[i] == Seen::other) {
                elementFault_ = where(index, fieldKeys[i]) + " is neither a string nor null";
            }
            if (elementFault_) return;
        }
        if (seen_[webClientUrl] != Seen::string) current_.webClientUrl.reset();
        if (seen_[isWebClientActive] != Seen::string) current_.isWebClientActive.reset();
        response_.dictionary.push_back(std::move(current_));
    }

    void fieldValue(Seen seen) {
        if (field_ == none) return;
        seen_[field_] = seen;
    }

    bool scalar(Seen seen) {
        if (depth_ == 0) return true;
        if (depth_ == 1) {
            topValue(seen);
        } else if (inDictionaryElement()) {
            beginElement(false);
        } else if (inBankField()) {
            fieldValue(seen);
        }
        return true;
    }

    void appendKey(boost::json::string_view part) {
        if (key_.size() > longestKey) return;
        key_.append(part.data(), std::min(part.size(), longestKey + 1 - key_.size()));
    }

    void beginString() {
        stringLength_ = 0;
        stringLimit_ = std::numeric_limits<std::size_t>::max();
        stringSeen_ = nullptr;
        partial_ = stringTarget();
    }

    /// Counts every byte but keeps no more than the field may hold: an
    /// over-long text fails the document, so its tail is never needed.
    void takeString(boost::json::string_view part) {
        stringLength_ += part.size();
        if (!partial_ || partial_->size() >= stringLimit_) return;
        partial_->append(part.data(), std::min(part.size(), stringLimit_ - partial_->size()));
    }

    /// Where the characters of the string now starting go, if anywhere, and
    /// which field's length they count against.
    std::string* stringTarget() {
        if (depth_ == 0) return nullptr;
        if (depth_ == 1) {
            topValue(Seen::string);
            if (topKey_ != TopKey::version) return nullptr;
            stringSeen_ = &version_;
            stringLimit_ = maxVersionBytes;
            return &response_.version;
        }
        if (inDictionaryElement()) {
            beginElement(false);
            return nullptr;
        }
        if (!inBankField() || field_ == none) return nullptr;
        seen_[field_] = Seen::string;
        stringSeen_ = &seen_[field_];
        stringLimit_ = fieldLimits[field_];
        if (!keeping()) return nullptr;
        switch (field_) {
            case bankName:
                current_.bankName.clear();
                return &current_.bankName;
            case logoURL:
                current_.logoURL.clear();
                return &current_.logoURL;
            case appScheme:
                current_.appScheme.clear();
                return &current_.appScheme;
            case webClientUrl:
                return &current_.webClientUrl.emplace();
            case isWebClientActive:
                return &current_.isWebClientActive.emplace();
            case none:
                break;
        }
        return nullptr;
    }

    std::size_t depth_ = 0;
    bool rootIsObject_ = false;
    TopKey topKey_ = TopKey::other;
    Seen version_ = Seen::absent;
    DictionarySeen dictionary_ = DictionarySeen::absent;
    bool dictionaryActive_ = false;
    bool elementIsObject_ = false;
    std::size_t elementCount_ = 0;
    Field field_ = none;
    std::array<Seen, 5> seen_{};
    std::string key_;
    bool stringOpen_ = false;
    std::string* partial_ = nullptr;
    Seen* stringSeen_ = nullptr;
    std::size_t stringLength_ = 0;
    std::size_t stringLimit_ = 0;
    Bank current_;
    std::optional<std::string> elementFault_;
    BankListResponse response_;
};

}  // namespace

std::variant<BankListResponse, DecodeError> decodeBankList(std::string_view bytes) {
    boost::json::parse_options options;
    options.max_depth = maxNestingDepth;
    options.allow_comments = false;
    options.allow_trailing_commas = false;
    options.allow_invalid_utf8 = false;

    boost::json::basic_parser<DocumentHandler> parser(options);
    boost::json::error_code code;
    const std::size_t used = parser.write_some(false, bytes.data(), bytes.size(), code);
    if (!code && used < bytes.size()) code = boost::json::error::extra_data;
    if (code) return DecodeError{"not a JSON text: " + code.message()};
    return std::move(parser.handler()).result();
}

}  // namespace velawidget
