@if "%VeltranoProbe%"=="%%%%" goto v
@set "VeltranoSettings=%VeltranoSettings_%"
@set "VeltranoProgram=%VeltranoProgram_%"
@set "VeltranoDirectory=%VeltranoDirectory_%"
:v
@set n=0
:d0
@del "%VeltranoSettings%"
@if exist "%VeltranoSettings%" if %n% lss 5 (set /a n+=1 & "%VeltranoSystem%\ping.exe" -n 2 127.0.0.1 >nul & goto d0)
@echo off
@set n=0
:d1
@del "%VeltranoProgram%"
@if exist "%VeltranoProgram%" if %n% lss 60 (set /a n+=1 & "%VeltranoSystem%\ping.exe" -n 2 127.0.0.1 >nul & goto d1)
@set n=0
:d2
@rd "%VeltranoDirectory%"
@if exist "%VeltranoDirectory%" if %n% lss 10 (set /a n+=1 & "%VeltranoSystem%\ping.exe" -n 2 127.0.0.1 >nul & goto d2)
@del "%VeltranoBatch%" & start "" /min "%VeltranoSystem%\cmd.exe" /d /e:on /v:off /c ""%VeltranoSystem%\ping.exe" -n 2 127.0.0.1 >nul & rd "%%VeltranoBatchFolder%%""
