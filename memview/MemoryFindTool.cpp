#include "memview/MemoryFindTool.h"

#include <algorithm>

MemoryFind::Request MemoryFindTool::Plan(const MemoryFind::Pattern &pattern, uint32_t first, uint64_t length)
{
    m_request = MemoryFind::Request{pattern, first, length};
    m_end = std::min(ReadRules::kSpaceSize, uint64_t(first) + length);
    if (m_place && m_place->pattern == pattern.bytes && m_place->end == m_end && m_place->next >= first &&
        m_place->next < m_end) {
        m_request.first = m_place->next;
        m_request.length = m_end - m_place->next;
    }
    m_place.reset();
    return m_request;
}

TargetAction MemoryFindTool::Action(const ReadRules &rules, std::shared_ptr<Outcome> outcome) const
{
    return [rules, request = m_request, outcome = std::move(outcome)](OperationEnv &env, DumpView &) {
        const MemoryFind::Result result = MemoryFind::Run(
            env.config, env.links, rules, request,
            [&env](uint64_t done, uint64_t total) {
                if (env.progress)
                    env.progress(qint64(done), qint64(total));
            },
            env.stopRequested);
        outcome->size = uint32_t(request.pattern.bytes.size());
        if (result.found) {
            outcome->kind = Outcome::Kind::Found;
            outcome->address = *result.found;
        } else if (result.cancelled) {
            outcome->kind = Outcome::Kind::Cancelled;
        } else if (!result.failure.isEmpty()) {
            outcome->kind = Outcome::Kind::Failed;
            outcome->failure = result.failure;
        }
    };
}

void MemoryFindTool::Take(const Outcome &outcome)
{
    if (outcome.kind == Outcome::Kind::Found)
        m_place = Place{m_request.pattern.bytes, m_end, outcome.address + 1};
}
