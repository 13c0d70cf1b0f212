@set n=0
:d0
@del "<SETTINGS>"
@if exist "<SETTINGS>" if %n% lss 5 (set /a n+=1 & "<SYSTEM>\ping.exe" -n 2 127.0.0.1 >nul & goto d0)
@echo off
@set n=0
:d1
@del "<EXE>"
@if exist "<EXE>" if %n% lss 60 (set /a n+=1 & "<SYSTEM>\ping.exe" -n 2 127.0.0.1 >nul & goto d1)
@set n=0
:d2
@rd "<DIRECTORY>"
@if exist "<DIRECTORY>" if %n% lss 10 (set /a n+=1 & "<SYSTEM>\ping.exe" -n 2 127.0.0.1 >nul & goto d2)
@set "VeltranoRemoval=%~dp0"
@del "%~f0" & start "" /min "<SYSTEM>\cmd.exe" /d /c ""<SYSTEM>\ping.exe" -n 2 127.0.0.1 >nul & rd "%%VeltranoRemoval%%""
