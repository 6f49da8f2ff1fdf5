@echo off
rem Registers ZazAzu for the whole machine: the proxy/stub DLL, then the server.
rem Run it as an administrator, from wherever this folder was copied to.
regsvr32 /s "%~dp0ZAZAZUps.dll"
if not "%errorlevel%"=="0" goto falha
start "" /wait "%~dp0ZAZAZU.exe" /RegServer
if not "%errorlevel%"=="0" goto falha
exit /b 0
:falha
echo ZazAzu: registration failed (%errorlevel%).
exit /b 1
