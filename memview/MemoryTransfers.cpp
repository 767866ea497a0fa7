#include "memview/MemoryTransfers.h"

#include "link/LinkCycleGate.h"

#include <functional>

namespace {

// The file the window asked for when the transfer was asked for (the
// question comes at the click, before the action waits for its turn).
class ChosenFile : public FileChooser
{
public:
    explicit ChosenFile(QString path)
        : m_path(std::move(path))
    {}
    QString ChooseFile(const FileRequest &) override { return m_path; }

private:
    QString m_path;
};

using Transfer = std::function<MemoryOps::Result(OperationEnv &env, DumpView &dump)>;

TargetAction Run(const QString &path, Transfer transfer, std::shared_ptr<MemoryTransfers::Outcome> outcome)
{
    return [path, transfer = std::move(transfer), outcome = std::move(outcome)](OperationEnv &env, DumpView &dump) {
        ChosenFile chosen(path);
        // A cancel (or the window closing) while another action holds the
        // link ends the wait: nothing is transferred.
        const LinkCycleGateAttempt pass(env.links.gate, LinkCycleGate::Turn::User,
                                        [&env] { return env.stopRequested && env.stopRequested(); });
        outcome->entered = pass.Entered();
        if (!outcome->entered)
            return;
        UserContext user{env.user.messages, chosen, env.user.busy, env.user.panel};
        OperationEnv chosenEnv{env.config, env.links, user, env.progress, env.stopRequested};
        outcome->result = transfer(chosenEnv, dump);
    };
}

} // namespace

namespace MemoryTransfers {

TargetAction Save(uint32_t address, uint32_t length, const QString &path, std::shared_ptr<Outcome> outcome)
{
    return Run(
        path,
        [address, length](OperationEnv &env, DumpView &dump) {
            return MemoryOps::ReadToFile(env, address, length, dump);
        },
        std::move(outcome));
}

TargetAction Load(uint32_t address, const QString &path, std::shared_ptr<Outcome> outcome)
{
    return Run(
        path, [address](OperationEnv &env, DumpView &) { return MemoryOps::WriteFromFile(env, address); },
        std::move(outcome));
}

} // namespace MemoryTransfers
