#include <boost/json/object.hpp>
#include <boost/json/serialize.hpp>
#include <ostream>

#include "Command.h"
#include "TextOutput.h"
#include "catalogue/PaymentLink.h"
#include "catalogue/Schema.h"

namespace vela::banks {
namespace {

int check(const Invocation& call) {
    const std::string& text = call.operands.front();
    const bool json = call.has("--json");
    std::optional<boost::urls::url> parsed;
    const auto accepted = velawidget::acceptPaymentLink(text, &parsed);
    if (!accepted) {
        std::string_view reason = "the text does not parse as a URL";
        if (parsed) {
            if (auto rejection = velawidget::paymentURLRejection(*parsed)) reason = *rejection;
        }
        call.err << "vela-banks: not a payment link: " << reason << '\n';
        if (json) call.out << R"({"error":"invalidURLString"})" << '\n';
        return exit_status::rejectedLink;
    }

    const std::string kind(velawidget::rawValue(accepted->schema));
    const std::string host = velawidget::host(accepted->schema);
    const std::string listURL = velawidget::bankListURL(accepted->schema);
    if (json) {
        boost::json::object result;
        result["kind"] = kind;
        result["host"] = host;
        result["bankListURL"] = listURL;
        call.out << boost::json::serialize(result) << '\n';
    } else {
        printTable(call.out, {{"kind", kind}, {"host", host}, {"bankListURL", listURL}});
    }
    return exit_status::ok;
}

}  // namespace

const Command& checkCommand() {
    static const Command command{
        "check",
        "LINK",
        1,
        1,
        "Applies the kit's acceptance tests to LINK. Accepted (exit 0): prints the link's kind,\n"
        "its host and the address of its bank-list document. Rejected (exit 2): prints the\n"
        "reason on stderr, and {\"error\": \"invalidURLString\"} with --json.",
        {jsonFlag},
        check};
    return command;
}

}  // namespace vela::banks
