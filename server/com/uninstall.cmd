@echo off
rem Removes what install.cmd registered: the server, then the proxy/stub DLL.
start "" /wait "%~dp0ZAZAZU.exe" /UnregServer
if not "%errorlevel%"=="0" goto falha
regsvr32 /u /s "%~dp0ZAZAZUps.dll"
if not "%errorlevel%"=="0" goto falha
exit /b 0
:falha
echo ZazAzu: unregistration failed (%errorlevel%).
exit /b 1
