var a: array [0..100000000] of Float;
a[0] := 1;
PrintLn(a[0]);
