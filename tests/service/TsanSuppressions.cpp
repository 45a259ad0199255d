// Read by ThreadSanitizer when the tests are built with it; unused otherwise. The system's cpp-httplib
// library (the test servers) is not instrumented: its own synchronisation, such as the fast path of a
// function-local static's guard, is invisible to the sanitizer, which then reports memory handed
// between its pool threads. Only calls made from inside that library are ignored; our code is checked
// in full.
extern "C" const char* __tsan_default_suppressions()
{
    return "called_from_lib:libcpp-httplib.so\n";
}
