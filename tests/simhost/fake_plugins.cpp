// Stand-ins for a plug-in, to check how simhost loads one and passes on its
// result. Built twice: with and without the entry point.
#ifdef WITH_ENTRY
extern "C" __attribute__((visibility("default"))) int plugin_exec(void*)
{
    return 7;
}
#else
extern "C" __attribute__((visibility("default"))) int plugin_exec_misspelt(void*)
{
    return 0;
}
#endif
