// A pool of worker threads for parallel scans. A worker runs its function
// while it holds the pool lock, so the functions of one pool run one at a
// time; idle workers wait on their start semaphores.
#pragma once

#include "MemDB/dbKernel.h"
#include "MemDB/dbOs.h"

#include <pthread.h>

class dbWorkerPool;

class dbWorker {
    friend class dbWorkerPool;

    pthread_t thread;
    dbWorkerPool* pool;
    dbWorker* next;
    void (*function)(void*);
    void* arg;
    bool running;
    dbKernelSync startSem;
    dbKernelSync doneSem;

    static void* Run(void* self);
};

class dbWorkerPool {
public:
    dbWorkerPool() : idle(nullptr) {}
    ~dbWorkerPool();
    dbWorkerPool(const dbWorkerPool&) = delete;
    dbWorkerPool& operator=(const dbWorkerPool&) = delete;

    // Hands the function to an idle worker (a new one when none is idle).
    // Null when no thread could be started.
    dbWorker* Start(void (*function)(void*), void* arg);
    // Waits until the worker's function has returned and makes it idle.
    void Join(dbWorker* worker);

private:
    friend class dbWorker;
    dbWorker* idle;
    dbSectionLock lock;
};
