// The delayed-commit thread: a commit handed to it waits for the commit
// delay (or until a lock is wanted) before it is written.
#include "MemDB/dbEngine.h"
#include "Platform/ProcessHooks.h"

void* dbEngine::DelayedCommitThread(void* engine)
{
    AfxThreadStarted();
    static_cast<dbEngine*>(engine)->DelayedCommitLoop();
    return nullptr;
}

void dbEngine::DelayedCommitLoop()
{
    commitThreadSyncEvent.Release();
    for (;;) {
        delayedCommitStartTimerEvent.Wait();
        {
            dbCriticalSection cs(commitTimerLock);
            delayedCommitStartTimerEvent.Reset();
        }
        commitLock.Enter();
        if (delayedCommitContext != nullptr && monitor->waitForDelayedCommit == 0) {
            commitTimerStarted = dbTickCount();
            unsigned timeout = commitTimeout;
            commitLock.Leave();
            delayedCommitStopTimerEvent.Wait(static_cast<int>(timeout * 1000));
            commitLock.Enter();
        }
        dbThreadState* state = delayedCommitContext;
        if (state != nullptr) {
            commitTimeout = commitDelay;
            delayedCommitContext = nullptr;
            monitor->delayedCommitContext = 0;
            SetThreadState(state);
            CommitImage(state);
            state->commitPending = false;
            if (state->removeAfterCommit)
                RemoveThreadState(state);
            SetThreadState(nullptr);
        }
        commitLock.Leave();
        bool stop;
        {
            dbCriticalSection cs(commitTimerLock);
            stop = stopDelayedCommitThread;
        }
        if (stop)
            break;
    }
}
