// Indexes outside an array's bounds raise errors that name the index.
var a: array[1..3] of Integer;
  b: array[5..9] of Float;
  c: array[-3..3] of string;
  i: Integer;
begin
  i := 4;
  try
    a[i] := 1;
  except
    on E: Exception do PrintLn(E.Message);
  end;
  i := 0;
  try
    PrintLn(a[i]);
  except
    on E: Exception do PrintLn(E.Message);
  end;
  try
    b[i + 10] := 1.5;
  except
    on E: Exception do PrintLn(E.Message);
  end;
  i := 4;
  try
    PrintLn(b[i]);
  except
    on E: Exception do PrintLn(E.Message);
  end;
  i := -4;
  try
    c[i] := 'x';
  except
    on E: Exception do PrintLn(E.Message);
  end;
  a[3] := 7;
  PrintLn(a[3]);
end.
