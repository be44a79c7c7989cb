#include "policy/organisation_rules.h"

#include <utility>
#include <variant>

namespace tarvello {

RulesTexts NoRulesTexts() {
    RulesTexts none;
    none.neverToZero = false;
    return none;
}

OrganisationRules::OrganisationRules(RulesSource source, const NumberFormat& format)
    : source_(std::move(source)), format_(format), texts_(NoRulesTexts()) {}

bool OrganisationRules::Take(const RulesRead& read) {
    if (read.text && state_ == State::Usable && read.text == text_) return false;
    const Text lineBefore = Line();
    const RulesTexts textsBefore = texts_;
    text_ = read.text;
    std::optional<RulesTexts> typed;
    if (read.text) typed = ReadPriceRulesFile(*read.text, format_);
    if (typed) {
        state_ = State::Usable;
        why_.clear();
        texts_ = *typed;
        // As the window shows the first band: from 0, whatever the file says.
        texts_.bands[0].from = u"0";
        rules_ = std::get<PriceRules>(ReadPriceRules(texts_, format_));
    } else {
        state_ = State::Unusable;
        why_ = !read.text ? (read.why.empty() ? Text(u"it could not be read") : read.why)
               : source_.kind == RulesSource::Kind::File
                   ? Text(u"it is not a price rules file this version of the utility reads")
                   : Text(u"it is not price rules this version of the utility reads");
        texts_ = NoRulesTexts();
        rules_ = PriceRules{};
    }
    return Line() != lineBefore || !(texts_ == textsBefore);
}

Text OrganisationRules::Line() const {
    switch (state_) {
        case State::Reading:
            return u"Reading the price rules your organisation sets, from " + source_.where + u"…";
        case State::Usable:
            return u"Set by your organisation, from " + source_.where +
                   u". They cannot be changed here.";
        case State::Unusable:
            break;
    }
    return u"Your organisation's price rules could not be read from " + source_.where + u": " +
           why_ + u". Preview is unavailable until they can be read.";
}

}  // namespace tarvello
