#include "memview/MemoryRowIo.h"

#include "link/LinkCycle.h"
#include "memview/DetachedUser.h"
#include "memview/MemoryRows.h"
#include "memview/MemoryUnits.h"
#include "ops/MemoryOps.h"

#include <QMetaObject>

namespace {

// The kind of job a newer one replaces while it waits: only the last view counts.
constexpr int kRowsJob = 1;

} // namespace

MemoryRowIo::MemoryRowIo(MemoryView &view, ConfigFile &config, TargetLinks &links, QObject *parent)
    : QObject(parent)
    , m_view(view)
    , m_config(config)
    , m_links(links)
    , m_worker(std::make_unique<LinkWorker>())
{}

MemoryRowIo::~MemoryRowIo()
{
    Settle(std::chrono::milliseconds(0));
}

bool MemoryRowIo::Ending::WritesGiveUp() const
{
    return closing.load() && std::chrono::steady_clock::now().time_since_epoch().count() > writesUntil.load();
}

QStringList MemoryRowIo::Settle(std::chrono::milliseconds writesAllowance)
{
    if (m_settled)
        return {};
    m_settled = true;
    m_ending->writesUntil = (std::chrono::steady_clock::now() + writesAllowance).time_since_epoch().count();
    m_ending->closing = true;
    m_worker->Finish(); // rows give up at once; writes go through or give up
    std::lock_guard lock(m_ending->mutex);
    QStringList unwritten;
    unwritten.swap(m_ending->unwritten);
    return unwritten;
}

template<typename F> void MemoryRowIo::Deliver(F &&done)
{
    QMetaObject::invokeMethod(
        this,
        [this, done = std::forward<F>(done)]() mutable {
            --m_outstanding;
            done();
        },
        Qt::QueuedConnection);
}

void MemoryRowIo::Post(LinkWorker::Job job, int kind)
{
    if (m_settled)
        return; // the window's work has ended
    // A job that replaced a waiting one reports for both.
    if (m_worker->Post(std::move(job), kind))
        ++m_outstanding;
}

bool MemoryRowIo::ReadWanted()
{
    std::optional<MemoryBlock> wanted = m_view.TakeWanted();
    if (!wanted)
        return false;
    Post(
        [this, rules = m_view.Rules(), block = std::move(*wanted), ending = m_ending]() mutable {
            // A closing window reads nothing more, nor waits for the link.
            const LinkCycleGateAttempt pass(m_links.gate, LinkCycleGate::Turn::User,
                                            [ending] { return ending->closing.load(); });
            if (!pass.Entered() || ending->closing)
                return;
            DetachedUser user(rules.ChipModel());
            UserContext context = user.Context();
            {
                LinkCycle cycle(m_config, m_links, context);
                MemoryRows::ReadCycle(cycle, rules, block);
            }
            Deliver([this, block, failure = user.failures.value(0).trimmed()] {
                m_view.Apply(block);
                emit RowsRead(failure);
            });
        },
        kRowsJob);
    return true;
}

void MemoryRowIo::Write(const MemoryView::Written &unit)
{
    WriteUnit(unit, false);
}

std::optional<MemoryView::Written> MemoryRowIo::Undo()
{
    const std::optional<MemoryView::Written> last = m_view.TakeLastWritten();
    if (last)
        WriteUnit({last->address, last->size, last->after, last->before}, true);
    return last;
}

void MemoryRowIo::WriteUnit(const MemoryView::Written &unit, bool undo)
{
    Post([this, rules = m_view.Rules(), unit, undo, ending = m_ending] {
        // Typed units are written even while the window closes, unless the
        // link stays busy past the close's allowance: then they are named.
        const LinkCycleGateAttempt pass(m_links.gate, LinkCycleGate::Turn::User,
                                        [ending] { return ending->WritesGiveUp(); });
        if (!pass.Entered()) {
            std::lock_guard lock(ending->mutex);
            ending->unwritten << QStringLiteral("0x%1 = %2")
                                     .arg(MemoryUnits::Hex(unit.address, 4), MemoryUnits::Hex(unit.after, unit.size));
            return;
        }
        DetachedUser user(rules.ChipModel());
        UserContext context = user.Context();
        OperationEnv env{m_config, m_links, context, {}};
        const bool written = MemoryOps::WriteUnit(env, unit.address, uint32_t(unit.size), unit.after).Succeeded();
        // What the chip holds now is what the window shows: the unit is read back.
        MemoryBlock back = MemoryRows::Planned(rules, unit.address, uint32_t(unit.size));
        if (written) {
            DetachedUser reader(rules.ChipModel());
            UserContext readerContext = reader.Context();
            LinkCycle cycle(m_config, m_links, readerContext);
            MemoryRows::ReadCycle(cycle, rules, back);
        }
        Deliver([this, unit, undo, written, back, failure = user.failures.value(0)] {
            if (written) {
                m_view.Replace(back);
                if (!undo)
                    m_view.PushWritten(unit);
            } else if (undo) {
                // Still to undo: the unit as it was written.
                m_view.PushWritten({unit.address, unit.size, unit.after, unit.before});
            }
            emit UnitWritten(unit.address, failure);
        });
    });
}
