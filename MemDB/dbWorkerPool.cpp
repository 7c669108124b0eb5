#include "MemDB/dbWorkerPool.h"

#include "Platform/ProcessHooks.h"

void* dbWorker::Run(void* self)
{
    AfxThreadStarted();
    dbWorker* worker = static_cast<dbWorker*>(self);
    dbSectionLock& lock = worker->pool->lock;
    lock.Enter();
    for (;;) {
        lock.Leave();
        worker->startSem.Wait();
        lock.Enter();
        if (!worker->running)
            break;
        worker->function(worker->arg);
        worker->doneSem.Release();
    }
    lock.Leave();
    worker->doneSem.Release();
    return nullptr;
}

dbWorker* dbWorkerPool::Start(void (*function)(void*), void* arg)
{
    dbCriticalSection cs(lock);
    dbWorker* worker = idle;
    if (worker != nullptr) {
        idle = worker->next;
    } else {
        worker = new dbWorker;
        worker->pool = this;
        worker->running = true;
        if (worker->startSem.Open(nullptr, dbKernelSync::Semaphore, 0, 1000000, dbProcessLocal) != 0
            || worker->doneSem.Open(nullptr, dbKernelSync::Semaphore, 0, 1000000, dbProcessLocal) != 0
            || pthread_create(&worker->thread, nullptr, dbWorker::Run, worker) != 0) {
            delete worker;
            return nullptr;
        }
    }
    worker->next = nullptr;
    worker->function = function;
    worker->arg = arg;
    worker->startSem.Release();
    return worker;
}

void dbWorkerPool::Join(dbWorker* worker)
{
    worker->doneSem.Wait();
    dbCriticalSection cs(lock);
    worker->next = idle;
    idle = worker;
}

dbWorkerPool::~dbWorkerPool()
{
    lock.Enter();
    while (idle != nullptr) {
        dbWorker* worker = idle;
        idle = worker->next;
        worker->running = false;
        worker->startSem.Release();
        lock.Leave();
        worker->doneSem.Wait();
        pthread_join(worker->thread, nullptr);
        lock.Enter();
        delete worker;
    }
    lock.Leave();
}
