// A library that only calls back, so that a crash has a stack level in a
// module of the test's choosing (and naming).
extern "C" __attribute__((visibility("default"), noinline)) void CrashCallback(void (*callback)())
{
    callback();
    __asm__ volatile("");
}
