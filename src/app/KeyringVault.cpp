#include "KeyringVault.h"

#include "SecretServiceLabel.h"

#include <qt6keychain/keychain.h>

#include <QEventLoop>
#include <QTimer>

#include <memory>

namespace Velmora {

namespace {

// Starts the job and waits for its finished signal or the time-out. False on time-out.
bool runJob(QKeychain::Job &job, int timeoutMs)
{
    QEventLoop loop;
    bool finished = false;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(timeoutMs);
    job.start();
    if (!finished)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    return finished;
}

PasswordVault::Result resultOf(const QKeychain::Job &job, QString *error)
{
    switch (job.error()) {
    case QKeychain::NoError:
        error->clear();
        return PasswordVault::Result::Ok;
    case QKeychain::EntryNotFound:
        error->clear();
        return PasswordVault::Result::NotFound;
    default:
        *error = job.errorString();
        return PasswordVault::Result::Unreachable;
    }
}

// A job that has not finished must outlive the wait: it deletes itself when it ends.
template <typename Job>
PasswordVault::Result finish(std::unique_ptr<Job> &job, bool done, QString *error)
{
    if (!done) {
        *error = QStringLiteral("the keyring did not answer in time");
        job->setAutoDelete(true);
        job.release();
        return PasswordVault::Result::Unreachable;
    }
    return resultOf(*job, error);
}

} // namespace

KeyringVault::KeyringVault(int timeoutMs)
    : m_timeoutMs(timeoutMs)
{
}

PasswordVault::Result KeyringVault::read(const QString &key, QString *password)
{
    auto job = std::make_unique<QKeychain::ReadPasswordJob>(ServiceName);
    job->setAutoDelete(false);
    job->setKey(key);
    const bool done = runJob(*job, m_timeoutMs);
    const Result result = finish(job, done, &m_error);
    if (result == Result::Ok && password)
        *password = job->textData();
    return result;
}

PasswordVault::Result KeyringVault::write(const QString &key, const QString &password)
{
    auto job = std::make_unique<QKeychain::WritePasswordJob>(ServiceName);
    job->setAutoDelete(false);
    job->setKey(key);
    job->setTextData(password);
    const bool done = runJob(*job, m_timeoutMs);
    const Result result = finish(job, done, &m_error);
    // A write never answers "not found"; treat anything but success as a refusal.
    if (result != Result::Ok)
        return Result::Unreachable;
    // The keyring window lists the entry by its key ("site Name (user@host:port)"), not as one
    // more "Velmora".
    SecretServiceLabel::set(ServiceName, key, key, m_timeoutMs);
    return Result::Ok;
}

PasswordVault::Result KeyringVault::remove(const QString &key)
{
    auto job = std::make_unique<QKeychain::DeletePasswordJob>(ServiceName);
    job->setAutoDelete(false);
    job->setKey(key);
    const bool done = runJob(*job, m_timeoutMs);
    const Result result = finish(job, done, &m_error);
    return result == Result::NotFound ? Result::Ok : result;
}

bool KeyringVault::reachable()
{
    QString ignored;
    return read(ProbeKey, &ignored) != Result::Unreachable;
}

} // namespace Velmora
