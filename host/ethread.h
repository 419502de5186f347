#ifndef LIRVA_HOST_ETHREAD_H
#define LIRVA_HOST_ETHREAD_H

// A thread that runs the virtual thread(); when that thread ends, returned
// or killed, the virtual thread_finished() runs once. How kill() ends the
// thread, whether it waits for thread_finished(), and on which thread that
// runs are the host's.
class eThread {
public:
    eThread();
    // Table slots in this order: the destructor, thread(), thread_finished().
    virtual ~eThread();
    eThread(const eThread&) = delete;
    eThread& operator=(const eThread&) = delete;

    // Starts the thread (passed 0, 0).
    int run(int prio = 0, int policy = 0);
    // Ends the thread wherever it is (passed true).
    void kill(bool hard = false);

    // The host's own working, out of the plug-in's sight.
    struct Private;

protected:
    virtual void thread() = 0;
    virtual void thread_finished();

private:
    Private* d;
};

#endif
