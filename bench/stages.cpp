#include "bench/stages.h"

#include "bench/timing.h"

namespace veltrano::bench {

void print_stage_medians(const std::vector<Stages>& runs, const char* indent) {
    const Stages* first = nullptr;
    for (const Stages& s : runs)
        if (!s.empty()) {
            first = &s;
            break;
        }
    if (!first) {
        std::printf("%s(no stages: the exe was not built with VELTRANO_BENCH_STAGES)\n", indent);
        return;
    }
    double before = 0;
    for (std::size_t i = 0; i < first->at.size(); ++i) {
        std::vector<double> at;
        for (const Stages& s : runs)
            if (i < s.at.size() && s.at[i].first == first->at[i].first) at.push_back(s.at[i].second);
        const double m = median(at);
        std::printf("%s%-26s %8.1f ms %+8.1f\n", indent, first->at[i].first.c_str(), m, m - before);
        before = m;
    }
    for (const SpanTotal& span : first->spans) {
        std::vector<double> ms, count;
        for (const Stages& s : runs)
            for (const SpanTotal& t : s.spans)
                if (t.name == span.name) {
                    ms.push_back(t.ms);
                    count.push_back(static_cast<double>(t.count));
                }
        std::printf("%sin %-23s %8.1f ms in all, %6.0f times\n", indent, span.name.c_str(), median(ms), median(count));
    }
}

}  // namespace veltrano::bench
