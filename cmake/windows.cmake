# Windows: the program, its stand-in ipconfig for the tests, and the Windows tests.
