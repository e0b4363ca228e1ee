// The operator / on Integer operands is a float division.
var i, z: Integer;
  x: Float;
begin
  i := 5;
  z := 0;
  x := 2;
  try
    x := i / z;
    PrintLn('no exception');
  except
    on E: Exception do PrintLn('5/0 raised');
  end;
  Print('x='); PrintLn(x);
  try
    i := i div z;
    PrintLn('no exception');
  except
    on E: Exception do PrintLn('5 div 0 raised');
  end;
  try
    i := i mod z;
    PrintLn('no exception');
  except
    on E: Exception do PrintLn('5 mod 0 raised');
  end;
  Print('i='); PrintLn(i);
end.
