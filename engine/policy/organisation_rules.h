#pragma once
// The organisation's price rules as the Price Rules window offers them: read again and again
// from where the policy names them (a file on a share may change while the window is open, or
// stop being readable), each read taking the place of the last one whole. Rules that cannot be
// read are never stood in for by others: the window then shows none, says what is wrong and
// where, and offers no preview until they read.

#include <optional>
#include <string>

#include "numbers/number_format.h"
#include "numbers/variant.h"
#include "policy/organisation_policy.h"
#include "pricing/price_rules.h"
#include "pricing/price_rules_form.h"

namespace tarvello {

// One read of the rules' source: what it holds, or why it could not be read, in the system's
// words ("The network path was not found").
struct RulesRead {
    std::optional<std::string> text;
    Text why;
};

class OrganisationRules {
public:
    OrganisationRules(RulesSource source, const NumberFormat& format);

    // Takes the newest read; true when what the window shows has changed.
    bool Take(const RulesRead& read);

    // The last read gave rules: Preview may use them.
    bool Usable() const { return state_ == State::Usable; }
    // The texts the boxes show: the rules read, or none while they do not read.
    const RulesTexts& Texts() const { return texts_; }
    const PriceRules& Rules() const { return rules_; }
    // The line above the boxes: where the rules come from, or what is wrong and where.
    Text Line() const;
    const RulesSource& Source() const { return source_; }

private:
    enum class State { Reading, Usable, Unusable };

    RulesSource source_;
    NumberFormat format_;
    State state_ = State::Reading;
    std::optional<std::string> text_;
    Text why_;
    RulesTexts texts_;
    PriceRules rules_;
};

// The boxes with nothing in them and the guard off: no rules at all.
RulesTexts NoRulesTexts();

}  // namespace tarvello
