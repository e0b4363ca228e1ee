var n: Integer;
PrintLn('start');
n := 100 div n;
PrintLn('never');
