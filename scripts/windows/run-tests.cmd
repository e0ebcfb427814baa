@echo off
rem Runs the end-to-end tests against both executables on this Windows
rem desktop, after readying it; the reports go to reports\ beside this file.
setlocal
set "HERE=%~dp0"
if not exist "%HERE%reports" mkdir "%HERE%reports"
"%HERE%e2e64\kelpo_e2e_tests64.exe" --preflight || exit /b 1
set "FAILED=0"
set "KELPO_EXE=%HERE%kelpo64.exe"
"%HERE%e2e64\kelpo_e2e_tests64.exe" "--gtest_output=xml:%HERE%reports\e2e64.xml" || set "FAILED=1"
set "KELPO_EXE=%HERE%kelpo32.exe"
"%HERE%e2e32\kelpo_e2e_tests32.exe" "--gtest_output=xml:%HERE%reports\e2e32.xml" || set "FAILED=1"
exit /b %FAILED%
