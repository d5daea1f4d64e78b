// Built into every libFuzzer target: undefined behaviour stops the run like a
// crash, with its stack.
extern "C" const char *__ubsan_default_options()
{
    return "halt_on_error=1:print_stacktrace=1";
}

// Qt 5.15's JSON reader leaks the values of repeated object keys
// ({"a":[{}],"a":[{}]}); that leak is Qt's, and it hides the leaks of our code.
// Allocations of ours show a frame of our code and are still reported.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libQt5Core.so\n";
}
