#include "tldialogs/period_fields.hpp"

#include <cmath>
#include <utility>

namespace tl::dialogs {
namespace {

DateTime DatePart(DateTime value) {
    return FromMillis(ToMillis(value) / kMsPerDay * kMsPerDay);
}

IntervalFields FieldsOf(int32_t interval_type, int32_t depth, DateTime begin, DateTime end) {
    IntervalFields fields;
    fields.choice = interval_type == 0   ? IntervalChoice::kDepth
                    : interval_type == 1 ? IntervalChoice::kInterval
                                         : IntervalChoice::kNeither;
    fields.days = depth / 24;
    fields.hours = depth % 24;
    fields.begin_date = DatePart(begin);
    fields.begin_time = begin - fields.begin_date;
    fields.end_date = DatePart(end);
    fields.end_time = end - fields.end_date;
    return fields;
}

void Store(IntervalFields& fields, int32_t& interval_type, int32_t& depth, DateTime& begin, DateTime& end) {
    depth = fields.days * 24 + fields.hours;
    begin = fields.begin_date + fields.begin_time;
    end = fields.end_date + fields.end_time;
    interval_type = fields.choice == IntervalChoice::kInterval ? 1 : 0;
    if (interval_type == 1 && begin > end) {
        std::swap(begin, end);
        std::swap(fields.begin_date, fields.end_date);
        std::swap(fields.begin_time, fields.end_time);
    }
}

} // namespace

PeriodFields PeriodFromSettings(const settings::TaskSettings& s) {
    PeriodFields fields;
    fields.base = FieldsOf(s.interval_type, s.deep_base, s.begin_date_time, s.end_date_time);
    fields.additional = s.adv_par_number;
    fields.par_number = s.par_number;
    fields.adv = FieldsOf(s.interval_type_adv, s.deep_adv, s.begin_date_time_adv, s.end_date_time_adv);
    return fields;
}

void PeriodToSettings(PeriodFields& fields, settings::TaskSettings& s) {
    Store(fields.base, s.interval_type, s.deep_base, s.begin_date_time, s.end_date_time);
    s.adv_par_number = fields.additional;
    s.par_number = fields.par_number;
    Store(fields.adv, s.interval_type_adv, s.deep_adv, s.begin_date_time_adv, s.end_date_time_adv);
}

PeriodEnabling EnablingOf(const PeriodFields& fields) {
    PeriodEnabling enabling;
    enabling.base_depth = fields.base.choice == IntervalChoice::kDepth;
    enabling.base_interval = fields.base.choice == IntervalChoice::kInterval;
    enabling.additional_group = fields.additional;
    enabling.adv_depth = fields.additional && fields.adv.choice == IntervalChoice::kDepth;
    enabling.adv_interval = fields.additional && fields.adv.choice == IntervalChoice::kInterval;
    return enabling;
}

} // namespace tl::dialogs
